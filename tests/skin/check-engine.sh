#!/usr/bin/env bash
# Checks the 32-bit skin engine DLL as a file: i386 machine, the one undecorated export
# SkinH_AttachRes, which removes its six 32-bit arguments (ret 0x18), and no runtime DLLs of
# the compiler. Takes candidate paths; checks the first 32-bit one; 77 (skipped) when none is built.
set -u
export LC_ALL=C  # the tools must not answer in the test locale
dll=""
for candidate in "$@"; do
  if [ -f "$candidate" ] && i686-w64-mingw32-objdump -f "$candidate" 2>/dev/null | grep -q "file format pei-i386"; then
    dll=$candidate; break
  fi
done
[ -n "$dll" ] || { echo "no 32-bit SkinH_EL.dll built among: $*"; exit 77; }
echo "checking $dll"
fail=0
check() { if eval "$2"; then echo "ok:   $1"; else echo "FAIL: $1"; fail=1; fi; }

headers=$(i686-w64-mingw32-objdump -f "$dll")
check "32-bit x86 DLL" 'grep -q "architecture: i386" <<<"$headers" && grep -q "file format pei-i386" <<<"$headers"'

private=$(i686-w64-mingw32-objdump -p "$dll")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$private" | sed -n 's/^\s*\[ *[0-9]*\] //p')
echo "exports: $(echo $exports)"
check "exactly the export SkinH_AttachRes, undecorated" '[ "$exports" = "SkinH_AttachRes" ]'
check "library name SkinH_EL.dll" 'grep -q "^Name .* SkinH_EL.dll$" <<<"$private"'

base=$(awk '/^ImageBase/ {print $2}' <<<"$private")
rva=$(sed -n 's/^\s*\[ *0\] .* \([0-9a-f]*\) Export RVA$/\1/p' <<<"$private")
start=$((0x$base + 0x$rva))
first_ret=$(i686-w64-mingw32-objdump -d "$dll" --start-address=$start --stop-address=$((start + 4096)) |
            grep -m1 -E '\sret' || true)
echo "first return: $first_ret"
check "stdcall with 24 bytes of arguments" 'grep -q "ret *\$0x18" <<<"$first_ret"'

imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$private" | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $imports)"
check "only Windows' own DLLs" '! grep -Evq "^(kernel32|user32|gdi32|msimg32|msvcrt)\.dll$" <<<"$imports"'
exit $fail
