#!/usr/bin/env bash
# The Debian package as pupils get it: unpacked into a temporary root, its
# files and metadata checked, and its program started by two pupils, each with
# a home of their own. The program's folder is read-only to them, so each
# pupil's results must land in their own data folder and nothing under /usr.
# As root the pupils are nobody, since root may write anywhere.
set -euo pipefail
deb=$1
title="Upper Primary Mathematics: Practice Papers for Ages 10-12"
results=(marks2UPM6.txt first2UPM6.txt second2UPM6.txt fresults2UPM6.txt sresults2UPM6.txt trend2UPM6.txt)

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

[ -f "$deb" ] || { echo "FAIL: no package at $deb"; exit 1; }
root=$work/root
dpkg-deb -x "$deb" "$root"

# What it installs.
files=(usr/lib/exampractice/exampractice usr/lib/exampractice/web/libexampractice-web.so
       usr/share/applications/exampractice.desktop
       usr/share/icons/hicolor/scalable/apps/exampractice.svg
       usr/share/metainfo/example.marlowin.exampractice.metainfo.xml
       usr/share/man/man1/exampractice.1.gz usr/share/doc/exampractice/copyright
       usr/share/doc/exampractice/changelog.gz)
for f in "${files[@]}"; do [ -f "$root/$f" ] || fail "the package has no /$f"; done
for size in 48 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/exampractice.png
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "no $size px icon: $(file "$icon")"
done
[ "$(readlink "$root/usr/bin/exampractice")" = ../lib/exampractice/exampractice ] || fail "/usr/bin/exampractice is no link to the program"
exec_line=$(grep '^Exec=' "$root/usr/share/applications/exampractice.desktop")
[ "$exec_line" = "Exec=/usr/bin/exampractice" ] || fail "the desktop entry runs $exec_line"
zcat "$root/usr/share/man/man1/exampractice.1.gz" | grep -q '^\.SH FILES' || fail "the manual page has no FILES section"
pass "files, icons, link, desktop entry and manual page"

desktop-file-validate "$root/usr/share/applications/exampractice.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.marlowin.exampractice.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$(dpkg-deb -f "$deb" Version)\"" "$root/usr/share/metainfo/example.marlowin.exampractice.metainfo.xml" ||
  fail "the metainfo lacks this release"

# Run-time dependencies only: the libraries it links, none of the tools.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libqt6core6 libqt6widgets6 libqt6webenginewidgets6 libqt6printsupport6; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends lacks $lib"
done
for tool in cmake ninja-build build-essential googletest libgtest libgmock libbenchmark xvfb xauth imagemagick \
            poppler-utils lintian python3 -dev; do
  [[ "$depends" != *"$tool"* ]] || fail "Depends names the tool $tool"
done
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "not an amd64 package"

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" || fail "lintian reports errors"
else
  echo "lintian is not installed: skipped"
fi

# The pupils. The unpacked tree is read-only to them, as /usr is.
chmod -R a-w "$root/usr"
as_pupil=()
if [ "$(id -u)" -eq 0 ]; then as_pupil=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
make_home() {
  mkdir -p "$1"
  if [ "$(id -u)" -eq 0 ]; then chown 65534:65534 "$1"; fi
}
# Prints what is missing from a data folder: results files or Graphics.
missing_in() {
  local folder=$1 name
  for name in "${results[@]}"; do [ -f "$folder/$name" ] || echo "$name"; done
  [ -f "$folder/Graphics/bar.bmp" ] || echo Graphics
}
touch "$work/before"
sleep 1

# Ann starts it offscreen with only HOME set: her results go to ~/.local/share.
make_home "$work/ann"
env -i PATH=/usr/bin:/bin HOME="$work/ann" QT_QPA_PLATFORM=offscreen \
  "${as_pupil[@]}" "$root/usr/bin/exampractice" >"$work/ann.log" 2>&1 &
pids+=($!)
ann=$work/ann/.local/share/exampractice
for _ in $(seq 120); do
  [ -z "$(missing_in "$ann")" ] && break
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.5
done
# The home window comes right after the results store; the program is still
# up a moment later (a start that failed shows a message or ends).
sleep 2
if kill -0 "${pids[0]}" 2>/dev/null; then pass "started offscreen and still running"; else fail "the program ended: $(cat "$work/ann.log")"; fi
lost=$(missing_in "$ann")
[ -z "$lost" ] && pass "Ann's results are in $ann" || fail "Ann's data folder lacks: $lost"
[ "$(stat -c %a "$ann")" = 700 ] || fail "Ann's data folder is open to others: $(stat -c %a "$ann")"
kill "${pids[0]}"
wait "${pids[0]}" 2>/dev/null || true
marks_before=$(cat "$ann/marks2UPM6.txt")

# Bea starts it on a display, with XDG_DATA_HOME set, until its home window is up.
if command -v xvfb-run >/dev/null 2>&1 && command -v xwininfo >/dev/null 2>&1; then
  make_home "$work/bea"
  bea=$work/bea/data/exampractice
  "${as_pupil[@]}" env -i PATH=/usr/bin:/bin HOME="$work/bea" XDG_DATA_HOME="$work/bea/data" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
      "$1" & program=$!
      up=
      for _ in $(seq 120); do
        if xwininfo -name "$2" >/dev/null 2>&1; then echo "the home window is up"; up=1; break; fi
        sleep 0.5
      done
      # Then the web engine, from the library beside the program, while the
      # pupil reads the home window.
      for _ in $(seq 60); do
        [ -n "$up" ] || break
        if grep -q "/libexampractice-web.so" "/proc/$program/maps" 2>/dev/null; then
          sleep 3
          kill -0 $program && echo "the web engine is loaded" && kill $program && exit 0
          exit 1
        fi
        sleep 0.5
      done
      kill $program; exit 1' - "$root/usr/bin/exampractice" "$title" >"$work/bea.log" 2>&1 ||
    fail "Bea's home window or web engine did not come up: $(cat "$work/bea.log")"
  lost=$(missing_in "$bea")
  [ -z "$lost" ] && pass "Bea's home window came up and loaded its web engine; her results are in $bea" || fail "Bea's data folder lacks: $lost"
  [ "$(cat "$ann/marks2UPM6.txt")" = "$marks_before" ] || fail "Bea's start changed Ann's results"
  [ ! -e "$work/bea/.local/share/exampractice" ] || fail "Bea's results went to ~/.local/share despite XDG_DATA_HOME"
else
  echo "xvfb-run or xwininfo is not installed: the start on a display is skipped"
fi

# Nothing was written beside the program.
written=$(find "$root" -newer "$work/before" -print)
[ -z "$written" ] && pass "nothing written under the unpacked /usr" || fail "written under the unpacked /usr: $written"

if [ $failures -eq 0 ]; then echo "the package: all checks passed"; exit 0; fi
echo "the package: $failures checks failed"
exit 1
