#!/usr/bin/env bash
# Checks the built 32-bit program: machine type, statically linked (only Windows' own DLLs
# imported), the version block and the icon group. Exit 77 (skipped) when it was not built.
set -u
export LC_ALL=C  # the tools must not answer in the test locale
exe=$1
[ -f "$exe" ] || { echo "not built: $exe"; exit 77; }
fail=0
check() { if eval "$2"; then echo "ok:   $1"; else echo "FAIL: $1"; fail=1; fi; }

headers=$(i686-w64-mingw32-objdump -f "$exe")
check "32-bit x86 executable" 'grep -q "file format pei-i386" <<<"$headers"'

imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $imports)"
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|comctl32|shlwapi|msvcrt|ucrtbase|api-ms-win-.*|ntdll|version|uxtheme)\.dll$'
check "no DLL beyond Windows' own" '! grep -Evq "$allowed" <<<"$imports"'

wide=$(strings -el "$exe")
check "file version 1.0.0.0" 'grep -q "^1.0.0.0$" <<<"$wide"'
check "product name Brinkvale" 'grep -q "^Brinkvale$" <<<"$wide"'
check "icon group DEFAULT_ICON" 'grep -q "^DEFAULT_ICON$" <<<"$wide"'
exit $fail
