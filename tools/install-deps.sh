#!/usr/bin/env bash
# Installs, as root on Debian, everything the build and the tests need; does nothing when all is there.
set -euo pipefail

need=(g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev cmake make wine wine32 wine64 xvfb x11-utils
      fonts-wqy-microhei imagemagick locales googletest unzip python3 xdotool)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing+=(wine32)
fi

if [ ${#missing[@]} -gt 0 ]; then
  [ "$(id -u)" -eq 0 ] || { echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" wine32:i386 >/dev/null
fi

# Wine needs the glibc locale to map non-ASCII Unix file names to code page 936.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  [ "$(id -u)" -eq 0 ] || { echo "install-deps: run as root to generate zh_CN.UTF-8" >&2; exit 1; }
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
