#!/usr/bin/env bash
# The Debian package, as a user and Debian's tools see it: made from the build with CPack,
# checked by lintian, appstreamcli and desktop-file-validate, its files listed, and the program
# in it answering its command line without a display.
# The caller sets BUILD (the build folder), VERSION and APP_ID.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Nothing here may need or reach a display, as on a build machine.
unset DISPLAY WAYLAND_DISPLAY

cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack could not make the package"; }
arch=$(dpkg --print-architecture)
deb="$work/qm415_${VERSION}_${arch}.deb"
[ -f "$deb" ] || fail "cpack made no $(basename "$deb"); it made: $(ls "$work")"

# The control fields apt and the software managers show.
control=$(dpkg-deb -f "$deb")
echo "$control"
for field in Package Version Architecture Maintainer Section Priority Description Depends; do
  grep -q "^$field: ." <<<"$control" || fail "the package has no $field field"
done
# The dependencies are read off the binary: apt must bring Qt's widgets and CUPS's library, and
# poppler's tools, which read the PDFs the user opens.
for lib in libqt6widgets6 libcups2 libc6 poppler-utils; do
  grep -q "^Depends:.*\b$lib\b" <<<"$control" || fail "the package does not depend on $lib"
done
[ "$(grep -c '^ ' <<<"$control")" -ge 2 ] || fail "the package has no long description"

# Every file the package installs, and nothing else.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort >"$work/files"
{
  echo /usr/bin/qm415
  echo "/usr/share/applications/$APP_ID.desktop"
  echo "/usr/share/metainfo/$APP_ID.metainfo.xml"
  echo /usr/share/man/man1/qm415.1.gz
  echo /usr/share/doc/qm415/copyright
  echo /usr/share/doc/qm415/changelog.gz
  for size in 16 22 24 32 48 64 128 256; do
    echo "/usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
  done
  echo "/usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
} | sort >"$work/expected"
diff -u "$work/expected" "$work/files" >&2 ||
  fail "the package's files differ from the list above (- missing, + unexpected)"

# lintian: every remark is shown; an error fails the test.
lintian --info --display-info --pedantic --tag-display-limit 0 --fail-on error "$deb" \
  2> >(grep -v 'running with root privileges' >&2) | tee "$work/lintian.txt" ||
  fail "lintian reports errors on the package: $(grep '^E:' "$work/lintian.txt" | tr '\n' ' ')"

root="$work/root"
dpkg-deb -x "$deb" "$root"

# The software centres' description and the menu entry. The screenshot's address is not
# fetched: it is where the project publishes it, not part of the package.
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$APP_ID.metainfo.xml" ||
  fail "appstreamcli finds the metainfo invalid: software centres would not list the program"
desktop-file-validate "$root/usr/share/applications/$APP_ID.desktop" ||
  fail "desktop-file-validate finds the desktop entry invalid: menus would not show it"
grep -qx "Icon=$APP_ID" "$root/usr/share/applications/$APP_ID.desktop" ||
  fail "the desktop entry does not name the installed icon $APP_ID"

# Each bitmap is drawn at its own size, and the scalable icon is a drawing, not a bitmap.
for size in 16 22 24 32 48 64 128 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
  file "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" ||
    fail "the ${size}x$size icon is $(file -b "$png")"
done
svg="$root/usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
grep -q 'viewBox="0 0 32 32"' "$svg" && grep -q '<path' "$svg" && ! grep -q '<image' "$svg" ||
  fail "the scalable icon is not a vector drawing of the 32-unit icon"
# The SVG writer is a build tool only, and pages go to CUPS: no QtSvg, no Qt print support.
objdump -p "$root/usr/bin/qm415" | grep -qE 'NEEDED.*(Svg|PrintSupport)' &&
  fail "the program links QtSvg or Qt's print support"

grep -q "All rights reserved" "$root/usr/share/doc/qm415/copyright" ||
  fail "the copyright file does not say that all rights are reserved"
zcat "$root/usr/share/doc/qm415/changelog.gz" | head -n1 | grep -q "^qm415 ($VERSION)" ||
  fail "the changelog's latest entry is not for version $VERSION"

# The manual page: its sections, and no complaint from man's formatter.
page="$root/usr/share/man/man1/qm415.1.gz"
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "SEE ALSO"; do
  grep -qx "$section" <<<"$text" || fail "the manual page has no $section section"
done
grep -q "LC_ALL" <<<"$text" || fail "the manual page does not explain LANG and LC_ALL"
warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null || true)
[ -z "$warnings" ] || fail "man warns about the manual page: $warnings"

# The command line, answered before any display is needed, in each form the manual page gives.
qm415="$root/usr/bin/qm415"
for option in -v --version; do
  out=$("$qm415" "$option" 2>&1) || fail "qm415 $option failed without a display: $out"
  [ "$out" = "qm415 $VERSION" ] || fail "qm415 $option printed '$out', not 'qm415 $VERSION'"
done
for option in -h --help; do
  out=$("$qm415" "$option" 2>&1) || fail "qm415 $option failed without a display: $out"
  for expected in "Usage: qm415 [options]" "-h, --help" "-v, --version" "-platform"; do
    grep -qF -- "$expected" <<<"$out" || fail "qm415 $option does not mention '$expected': $out"
  done
done
# Anything it does not know: one line on the error output, nothing on the standard output,
# exit status 2. Each line is given a few seconds: one that started the window would not end.
for args in "--bogus" "-x" "a.pdf b.pdf" "-platform"; do
  rc=0
  # shellcheck disable=SC2086 # each row is a whole command line
  timeout 10 "$qm415" $args >"$work/out" 2>"$work/err" </dev/null || rc=$?
  [ "$rc" -eq 2 ] || fail "qm415 $args ended with status $rc, not 2; it said: $(cat "$work/err")"
  [ "$(wc -l <"$work/err")" -eq 1 ] && [ ! -s "$work/out" ] ||
    fail "qm415 $args did not answer in one line: $(cat "$work/out" "$work/err")"
  grep -q "^qm415: " "$work/err" || fail "qm415 $args did not say who is speaking: $(cat "$work/err")"
done
# Qt's own options, each one the manual page names and Qt's other usual ones, still reach Qt: with
# -platform offscreen the program starts without a display and keeps running until it is stopped.
qt=(-platform offscreen -style Fusion -display :0 -reverse -geometry 800x600 -qwindowgeometry 800x600
  -name qm415 -title T -qwindowtitle T -icon none.png -qwindowicon none.png -stylesheet none.qss
  -session none -platformtheme none -platformpluginpath "$work" -plugin none -qmljsdebugger none
  -visual TrueColor -sync -nograb -dograb -widgetcount -testability)
rc=0
env -u QT_QPA_PLATFORM timeout 3 "$qm415" "${qt[@]}" >"$work/run.log" 2>&1 || rc=$?
[ "$rc" -eq 124 ] || fail "qm415 ${qt[*]} ended with status $rc: $(cat "$work/run.log")"

echo "package: $(basename "$deb"), $(wc -l <"$work/files") files, lintian: $(wc -l <"$work/lintian.txt") remarks"
