#!/usr/bin/env bash
# Checks the installed program the way a user meets it (run by test.sh after the build):
#
#   linux/check_install.sh [BUILD_DIR]
#
# 1. `cmake --install` into a staging folder; the desktop entry, the AppStream
#    metainfo and both manual pages pass their validators, and the manual of
#    quenzar-cli names every command, option and exit status of its --help.
# 2. The staged tree made read-only; as an unprivileged user (root drops to nobody)
#    with a fresh HOME, the installed quenzar-cli exports factory templates to PNG and
#    GIF with --preview-page, once with the XDG defaults and once with the variables
#    set: the user's files land in the XDG folders and nowhere else, and a listing of
#    the prefix is the same before and after.
# 3. `cpack -G DEB`: lintian finds no error, the package depends on the fonts, and its
#    programs run where the package is unpacked.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
fail() {
  echo "check_install: $*" >&2
  exit 1
}

work=$(mktemp -d /tmp/quenzar-install.XXXXXX)
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
stage=$work/stage
prefix=$stage/usr
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
id=org.quenzar.Quenzar

# ---- 1. What the desktop reads ---------------------------------------------------------
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry refused"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo refused: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
for icon in scalable/apps/$id.svg 256x256/apps/$id.png; do
  [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "no icon $icon"
done
# The PNG's header: width and height as 32-bit big-endian numbers from byte 16.
[ "$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/256x256/apps/$id.png" | tr -d ' \n')" = 0000010000000100 ] ||
  fail "the PNG icon is not 256 x 256 pixels"
manual() { MANWIDTH=250 man -l "$prefix/share/man/man1/$1.1.gz" 2>/dev/null; }
for page in quenzar quenzar-cli; do
  warnings=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page(1): $warnings"
  manual "$page" | grep -q "^NAME" || fail "$page(1) shows nothing"
done
cli_manual=$(manual quenzar-cli)
help=$("$prefix/bin/quenzar-cli" --help)
for word in $(grep -oE -- '(^|[[ ])--[a-z][a-z-]*' <<<"$help" | tr -d '[ ' | sort -u) export render info save fonts; do
  grep -qe "$word" <<<"$cli_manual" || fail "quenzar-cli(1) does not name $word"
done
exit_status=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$cli_manual")
for status in 0 1 2; do
  grep -qE "^ +$status( |$)" <<<"$exit_status" || fail "quenzar-cli(1) does not name exit status $status"
done
for file in Buttons.dat preview.html preview.tml XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME; do
  grep -q "$file" <<<"$cli_manual" || fail "quenzar-cli(1) does not name $file"
  manual quenzar | grep -q "$file" || fail "quenzar(1) does not name $file"
done

# ---- 2. A user runs the installed tool ---------------------------------------------------
listing() { (cd "$stage" && find . -printf '%p %y %m %s %T@\n' | LC_ALL=C sort); }
listing >"$work/before"
chmod -R a-w "$stage"
home=$work/home
mkdir -p "$home/out"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
run() { (cd "$home" && "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" "$@"); }
templates=$prefix/share/quenzar/Templates
run "$prefix/bin/quenzar-cli" export "$templates/Aqua.qzpl" "$home/out/aqua.png" --preview-page ||
  fail "export to PNG failed"
run XDG_CONFIG_HOME="$home/cfg" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  "$prefix/bin/quenzar-cli" export "$templates/Steel.qzpl" "$home/out/steel.gif" --preview-page ||
  fail "export to GIF failed"
run "$prefix/bin/quenzar-cli" --version | grep -q "^work file version 1.3.5$" || fail "quenzar-cli --version"
run "$prefix/bin/quenzar" --version | grep -q "^quenzar " || fail "quenzar --version"

expected="./.cache/quenzar/preview.html
./.config/quenzar/Buttons.dat
./cache/quenzar/preview.html
./cfg/quenzar/Buttons.dat
./out/aqua.png
./out/steel.gif"
written=$(cd "$home" && find . -type f | LC_ALL=C sort)
[ "$written" = "$expected" ] || fail "the user's files are not where they belong:"$'\n'"$written"
head -c 8 "$home/out/aqua.png" | od -An -tx1 | grep -q "89 50 4e 47 0d 0a 1a 0a" || fail "aqua.png is no PNG"
[ "$(head -c 6 "$home/out/steel.gif")" = GIF89a ] || fail "steel.gif is no GIF"
grep -q "^ImageFileName=aqua.png" "$home/.config/quenzar/Buttons.dat" || fail "Buttons.dat lacks the PNG export"
grep -q "out/aqua.png" "$home/.cache/quenzar/preview.html" || fail "the preview page lacks the PNG"
grep -q "^ImageFileName=steel.gif" "$home/cfg/quenzar/Buttons.dat" || fail "Buttons.dat lacks the GIF export"
grep -q "out/steel.gif" "$home/cache/quenzar/preview.html" || fail "the preview page lacks the GIF"
chmod -R u+w "$stage"
listing >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the installed tree changed while it ran"

# ---- 3. The Debian package -----------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack" 2>&1) || fail "cpack: $(cat "$work/cpack")"
deb=$(ls "$work"/package/quenzar_*.deb)
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-liberation fonts-dejavu-core fonts-dejavu-extra libqt6webenginewidgets6 libjpeg62-turbo; do
  grep -qw -- "$package" <<<"$depends" || fail "the package does not depend on $package: $depends"
done
dpkg-deb -x "$deb" "$work/unpacked"
"$work/unpacked/usr/bin/quenzar-cli" --version | grep -q "^quenzar-cli " || fail "the packaged quenzar-cli does not run"
echo "check_install: the installed tree, the user's folders and the package are all right"
sed 's/^/check_install: lintian: /' "$work/lintian"
