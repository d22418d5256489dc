# Sourced by the scripts that run programs under Wine: the private prefix, the GBK code page,
# a display (Xvfb when there is none) and one persistent wineserver for the whole run.
# Needs WINEPREFIX set by the caller; defines bv_wine_up and bv_wine_down.

export LANG=zh_CN.UTF-8
export WINEDEBUG=-all
# No first-run installers for .NET or the HTML engine, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

bv_started_xvfb=""

# Whether this machine can run 32-bit Windows programs (it needs 32-bit Linux processes).
bv_can_run_win32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

bv_wine_loader() {
  if [ "${BV_ARCH:-i686}" = i686 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

bv_prepare_prefix() {
  local marker="$WINEPREFIX/.brinkvale-ready"
  [ -f "$marker" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$(bv_wine_loader)" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  # A new prefix links the user's shell folders to $HOME; give it folders of its own.
  local user_dir
  for user_dir in "$WINEPREFIX"/drive_c/users/*; do
    [ -d "$user_dir" ] || continue
    local f
    for f in Desktop Documents Downloads Music Pictures Videos Templates; do
      if [ -L "$user_dir/$f" ]; then rm -f "$user_dir/$f"; mkdir -p "$user_dir/$f"; fi
    done
  done
  # One virtual desktop of a known size: frames are drawn and centring can be checked.
  cat > "$WINEPREFIX/bv-desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
  "$(bv_wine_loader)" regedit /S "$(winepath_of "$WINEPREFIX/bv-desktop.reg")" >/dev/null 2>&1 || true
  wineserver -w
  touch "$marker"
}

winepath_of() { echo "Z:$(echo "$1" | sed 's#/#\\#g')"; }

bv_wine_up() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=97
    while [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    bv_started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  fi
  bv_prepare_prefix
  wineserver -p
  # Start the prefix's services and its desktop now, detached from our output: a test's wine
  # process would otherwise hand them the pipes CTest reads, and CTest would wait for them.
  "$(bv_wine_loader)" wineboot >/dev/null 2>&1 </dev/null || true
  setsid "$(bv_wine_loader)" explorer /desktop=Default,1024x768 >/dev/null 2>&1 </dev/null &
  sleep 1
}

bv_wine_down() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$bv_started_xvfb" ]; then kill "$bv_started_xvfb" 2>/dev/null || true; fi
}
