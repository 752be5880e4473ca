#!/usr/bin/env bash
# Sets up, builds and runs every test. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
tools/check_includes.sh
./build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
# The installed program as a user meets it, and its Debian package.
linux/check_install.sh build

# The core and command-line tests again, and the fuzz targets over their seeds, built
# with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/: a memory error
# or undefined behaviour ends the test that meets it, and so fails the run. clang at -O1 with line tables
# builds the tests in a third of g++'s time. QUENZAR_SANITIZE=0 leaves this out (and
# setup.sh then installs no clang).
if [ "${QUENZAR_SANITIZE:-1}" != 0 ]; then
  if [ ! -f build-asan/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DQUENZAR_GUI=OFF -DQUENZAR_SANITIZE=ON >/dev/null
  fi
  cmake --build build-asan -j2 --target quenzar_core_tests quenzar_cli_tests fuzz_targets
  (cd build-asan && ctest --output-on-failure -j2)
fi
