# Sourced: configures and builds the project's build trees under $VANTRY_BUILD.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

configure_and_build() {  # folder, extra cmake arguments...
  local dir=$VANTRY_BUILD/$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$repo" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir"
}

build_windows_for_tests() {
  configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel
}

# The libFuzzer targets: a project of their own, built with clang.
build_fuzz_targets() {
  local dir=$VANTRY_BUILD/fuzz
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$repo/tests/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
  fi
  cmake --build "$dir"
}
