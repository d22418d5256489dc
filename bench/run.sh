#!/usr/bin/env bash
# Builds the benchmark programs, makes the data in the private Wine prefix, times Brinkvale against
# its baselines in one run (each side several times, medians) and prints one table.
#   bench/run.sh                      BENCH_MB=500 (backup size), BENCH_ROUNDS=5 (start-up, scan),
#                                     BENCH_BACKUP_ROUNDS=3; BENCH_RECORD=1 also writes bench/RESULTS.md
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mb=${BENCH_MB:-500}
rounds=${BENCH_ROUNDS:-5}
backup_rounds=${BENCH_BACKUP_ROUNDS:-3}
tree=build/dev-bench
log=$tree/bench.log

mkdir -p "$tree"
if ! BV_TARGETS="brinkvale bv_standin_winrar bench_bare_window bench_bare_scan bench_scan bench_driver" \
     bash tools/dev-test.sh bench -R nothing >"$tree/bench-build.log" 2>&1; then
  tail -30 "$tree/bench-build.log" >&2
  echo "the build failed (whole log: $tree/bench-build.log)" >&2
  exit 1
fi

source tools/wine-env.sh
if bv_can_run_win32; then export BV_ARCH=i686; else export BV_ARCH=x86_64; fi
export WINEPREFIX="$root/build/wineprefix-dev-bench"
trap bv_wine_down EXIT
bv_wine_up
wine_run() { "$(bv_wine_loader)" "$@" | tr -d '\r'; }

data="$WINEPREFIX/drive_c/bvbench"
echo "making the data in $data ($mb MB account) ..." >&2
python3 bench/make_data.py "$data" "$mb" >&2

: > "$log"
echo "start-up ..." >&2
wine_run "$tree/bench_driver.exe" startup 'C:\bvbench\start' 1000 "$rounds" | tee -a "$log" >&2

echo "account scan ..." >&2
for _ in $(seq "$rounds"); do
  wine_run "$tree/bench_bare_scan.exe" 'C:\bvbench\scan\QQ\Users' 9 | sed 's/^/SCAN bare /' | tee -a "$log" >&2
  wine_run "$tree/bench_scan.exe" 'C:\bvbench\scan\QQ' 9 | sed 's/^/SCAN ours /' | tee -a "$log" >&2
  wine_run "$tree/bench_bare_scan.exe" 'C:\bvbench\scan\QQ\Users' 9 peek | sed 's/^/SCAN peek /' | tee -a "$log" >&2
done

echo "backup and restore ..." >&2
wine_run "$tree/bench_driver.exe" backup 'C:\bvbench\backup' 123456789 "$backup_rounds" | tee -a "$log" >&2

measured=$tree/brinkvale.exe
product=build/brinkvale.exe
{
  echo "MACHINE date=$(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "MACHINE cpus=$(nproc)"
  echo "MACHINE memory=$(LC_ALL=C free -h | awk '/^Mem:/ {print $2 " total, " $7 " available"}')"
  echo "MACHINE wine=$("$(bv_wine_loader)" --version 2>/dev/null)"
  echo "MACHINE arch=$BV_ARCH"
  echo "MACHINE data=$(du -sm --apparent-size "$data/backup/QQ/Users" | cut -f1) MB in $(find "$data/backup/QQ/Users" -type f | wc -l) files"
  echo "EXE measured $(stat -c %s "$measured") $(file -b "$measured" | cut -d, -f1)"
  if [ -f "$product" ]; then
    echo "EXE product $(stat -c %s "$product") $(file -b "$product" | cut -d, -f1) built $(date -u -r "$product" '+%Y-%m-%d %H:%M UTC')"
  else
    echo "EXE product missing"
  fi
} >> "$log"

table=$(python3 bench/table.py "$log")
echo "$table"
if [ -n "${BENCH_RECORD:-}" ]; then
  { python3 bench/table.py "$log" --markdown; if [ -f bench/bounds.md ]; then echo; cat bench/bounds.md; fi; } > bench/RESULTS.md
  # The README carries the same table between its two markers.
  python3 - "$log" <<'PY'
import subprocess, sys
table = subprocess.run(["python3", "bench/table.py", sys.argv[1]], capture_output=True, text=True, check=True).stdout
readme = open("README.md", encoding="utf-8").read()
start, end = "<!-- bench table -->", "<!-- end of bench table -->"
if start in readme and end in readme:
    head, rest = readme.split(start, 1)
    readme = head + start + "\n" + table.strip() + "\n" + end + rest.split(end, 1)[1]
    open("README.md", "w", encoding="utf-8").write(readme)
PY
  echo "written: bench/RESULTS.md and the table in README.md" >&2
fi
