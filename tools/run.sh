#!/usr/bin/env bash
# Builds the program and starts it under Wine for a person to try, in a private demo prefix with
# a recorded QQ installation (two sample accounts) and the stand-in archiver recorded as WinRAR.
# Without a display the window runs under Xvfb; a screenshot is saved and its path printed.
#   tools/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/install-deps.sh

headless=""
[ -n "${DISPLAY:-}" ] || headless=1

source tools/wine-env.sh
# The stand-in archiver is built with the test programs, in a tree of its own.
if bv_can_run_win32; then
  export BV_ARCH=i686
  bash tools/build.sh
  program="$root/build/brinkvale.exe"
  standin_tree="build/demo-standin-i686"
  cmake -S . -B "$standin_tree" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
        -DBV_TESTS=ON >/dev/null
  cmake --build "$standin_tree" -j"$(nproc)" --target bv_standin_winrar
else
  # This machine runs no 32-bit code: a 64-bit build of the same sources, as the tests use.
  export BV_ARCH=x86_64
  standin_tree="build/demo-x86_64"
  cmake -S . -B "$standin_tree" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DBV_TESTS=ON >/dev/null
  cmake --build "$standin_tree" -j"$(nproc)" --target brinkvale bv_standin_winrar
  program="$root/$standin_tree/brinkvale.exe"
fi
standin_folder="$root/$standin_tree/standin/winrar"

export WINEPREFIX="$root/build/wineprefix-demo"
trap bv_wine_down EXIT
bv_wine_up

# The sample QQ installation: a Users folder with two accounts, each with some data and pictures.
qq_folder="$WINEPREFIX/drive_c/Program Files (x86)/Tencent/QQ"
for account in 10001 20002; do
  mkdir -p "$qq_folder/Users/$account/Image"
  [ -f "$qq_folder/Users/$account/Msg2.0.db" ] || echo "chat history of $account" > "$qq_folder/Users/$account/Msg2.0.db"
  [ -f "$qq_folder/Users/$account/Image/face.gif" ] || echo "a picture of $account" > "$qq_folder/Users/$account/Image/face.gif"
done

# Registry text for regedit: backslashes doubled. The prefix is 64-bit, so the 32-bit view of
# HKLM\SOFTWARE is its Wow6432Node.
reg_text() { echo "$1" | sed 's#\\#\\\\#g'; }
standin_windows=$(winepath_of "$standin_folder")
cat > "$WINEPREFIX/bv-demo.reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Tencent\\QQ2009]
"Install"="C:\\\\Program Files (x86)\\\\Tencent\\\\QQ"

[HKEY_CURRENT_USER\\Software\\WinRAR SFX]
"C%%Program Files%WinRAR"="$(reg_text "$standin_windows")"
REG
"$(bv_wine_loader)" regedit /S "$(winepath_of "$WINEPREFIX/bv-demo.reg")" >/dev/null 2>&1 || true

echo "starting $program"
if [ -z "$headless" ]; then
  "$(bv_wine_loader)" "$program" || true
  exit 0
fi

"$(bv_wine_loader)" "$program" >/dev/null 2>&1 </dev/null &
sleep 6
screenshot="$root/build/demo-screenshot.png"
import -window root "$screenshot"
echo "no display: the window ran under Xvfb; screenshot saved to $screenshot"
