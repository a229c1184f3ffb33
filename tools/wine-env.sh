# Sourced by the scripts: the environment every Wine process of the project
# runs in. The prefix lives under the build folder.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VANTRY_BUILD=${VANTRY_BUILD:-$repo/build}
export WINEPREFIX=$VANTRY_BUILD/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winedbg.exe=d"
# Code page 936: Wine needs the glibc locale for GBK file names.
export LC_ALL=zh_CN.UTF-8
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
