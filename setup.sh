#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quenzar needs.
# Safe to run again: it installs only what is missing and says nothing when all is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev
  libfreetype-dev libfontconfig-dev libjpeg62-turbo-dev libgif-dev libpng-dev libwebp-dev
  libharfbuzz-dev libfribidi-dev libharfbuzz-bin
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core fonts-dejavu-extra fonts-noto-core fonts-droid-fallback
  xvfb xauth locales
  desktop-file-utils appstream lintian man-db dpkg-dev
)
if [ "${QUENZAR_SANITIZE:-1}" != 0 ]; then
  packages+=(clang libclang-rt-14-dev)
fi

# A locale whose decimal separator is a comma, for the test that numbers in works
# never follow the user's number format.
ensure_comma_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 >/dev/null 2>&1 || true
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_comma_locale
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
ensure_comma_locale
