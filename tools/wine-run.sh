#!/usr/bin/env bash
# CTest's emulator: runs one test program under Wine with its output in a file, shown when it
# ends, so that a process it left behind (a Wine service, a killed program's archiver) cannot
# keep CTest waiting on the output pipe.
loader=$1; shift
out=$(mktemp)
"$loader" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
