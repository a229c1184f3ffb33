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
trap 'stop_wine; stop_display' EXIT
prepare_wine_prefix

"$kit/bench-download.sh" --warmup 1 \
  --tool "engine-x5=$WINE $bin/dl.exe --connections {conns} {url} {out_win}" \
  --tool "engine-x1=$WINE $bin/dl.exe --connections 1 {url} {out_win}" "$@"
"$kit/bench-unzip.sh" --warmup 1 --tool "ExtractZip=$WINE $bin/unpack.exe {zip_win} {dir_win}"
