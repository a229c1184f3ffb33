#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (sanitized),
# the Win32 layer and the real programs under Wine on an X display (a private
# Xvfb when DISPLAY is not set), and a build of the 32-bit release.
here=$(dirname "$0")
source "$here/prepare.sh"

configure_and_build native -DCMAKE_BUILD_TYPE=Debug
build_fuzz_targets
build_windows_for_tests
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DVANTRY_TESTS=OFF

start_display
trap 'stop_wine; stop_display' EXIT
prepare_wine_prefix

# One ctest run over the three trees.
printf 'subdirs("native" "fuzz" "win64")\n' > "$VANTRY_BUILD/CTestTestfile.cmake"
ctest --test-dir "$VANTRY_BUILD" --output-on-failure "$@"
