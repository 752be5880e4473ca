#!/usr/bin/env bash
# Sets up, builds and starts the Quenzar designer.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
./build.sh >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "No display found: exporting the default design without the designer."
  mkdir -p build/bin/Images
  out="build/bin/Images/default.gif"
  build/bin/quenzar-cli export build/bin/default.dat "$out"
  echo "Wrote $(pwd)/$out"
  exit 0
fi
exec build/bin/quenzar "$@"
