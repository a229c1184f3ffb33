#!/usr/bin/env bash
# The download and unpacking benchmark: the engine (dl.exe) and ExtractZip
# (unpack.exe) under a warm Wine, side by side with curl, aria2c, unzip and
# the others, with the kit in ../shared/perf. Not part of the test command.
# Options after the script name go to bench-download.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
kit=${VANTRY_PERF_KIT:-$here/../../shared/perf}
source "$here/build.sh"
source "$here/xvfb.sh"
source "$here/wine-prefix.sh"

# Only the two front ends: the benchmark needs nothing else.
tree=$VANTRY_BUILD/win64
[ -f "$tree/build.ninja" ] || cmake -S "$repo" -B "$tree" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$tree" --target dl unpack
bin=$VANTRY_BUILD/win64/bin
start_display
memlog=$(mktemp)
trap 'rm -f "$memlog"; stop_wine; stop_display' EXIT
prepare_wine_prefix

# Each engine run also logs its peak resident memory (the whole Wine process).
measure="/usr/bin/time -a -o $memlog -f"
"$kit/bench-download.sh" --warmup 1 \
  --tool "engine-x5=$measure 'engine-x5 {url} %M' $WINE $bin/dl.exe --connections {conns} {url} {out_win}" \
  --tool "engine-x1=$measure 'engine-x1 {url} %M' $WINE $bin/dl.exe --connections 1 {url} {out_win}" "$@"
# The most each column needed per file size, and how much more the largest
# file needed than the smallest.
awk '{ name = $2; sub(/.*\//, "", name); mb = name; gsub(/[^0-9]/, "", mb); key = $1 " " mb
       if ($3 > peak[key]) peak[key] = $3
       if (!($1 in low) || mb + 0 < low[$1]) low[$1] = mb + 0
       if (mb + 0 > high[$1]) high[$1] = mb + 0 }
     END { for (key in peak) printf "peak memory %s MB: %d KB\n", key, peak[key]
           for (tool in low) printf "peak memory %s: %d MB file needs %d KB more than %d MB\n", tool,
             high[tool], peak[tool " " high[tool]] - peak[tool " " low[tool]], low[tool] }' "$memlog" | sort
"$kit/bench-unzip.sh" --warmup 1 --tool "ExtractZip=$WINE $bin/unpack.exe {zip_win} {dir_win}"
