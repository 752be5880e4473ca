#!/usr/bin/env bash
# Sets up, builds and runs every test. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
./build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
