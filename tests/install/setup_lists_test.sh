#!/usr/bin/env bash
# The set-up's package lists: each names a package once, running needs no
# test tool, and the tests have everything running and packaging need.
set -euo pipefail
setup=$1
status=0
fail() { echo "FAIL: $*"; status=1; }

mapfile -t list_run < <("$setup" --list run)
mapfile -t list_package < <("$setup" --list package)
mapfile -t list_test < <("$setup" --list test)
for purpose in run package test; do
  declare -n list="list_$purpose"
  [ ${#list[@]} -gt 0 ] || fail "the $purpose list is empty"
  twice=$(printf '%s\n' "${list[@]}" | sort | uniq -d)
  [ -z "$twice" ] || fail "the $purpose list names more than once: $twice"
  unset -n list
done

in_list() { local wanted=$1; shift; printf '%s\n' "$@" | grep -qxF "$wanted"; }

# What only tests, benchmarks and package checks use.
test_tools=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils imagemagick
            poppler-utils appstream desktop-file-utils lintian)
for tool in "${test_tools[@]}"; do
  in_list "$tool" "${list_run[@]}" && fail "the run list holds the test tool $tool"
  in_list "$tool" "${list_package[@]}" && fail "the package list holds the test tool $tool"
  in_list "$tool" "${list_test[@]}" || fail "the test list lacks $tool"
done
for p in "${list_run[@]}"; do in_list "$p" "${list_package[@]}" || fail "the package list lacks $p"; done
for p in "${list_package[@]}"; do in_list "$p" "${list_test[@]}" || fail "the test list lacks $p"; done
for p in cmake qt6-base-dev qt6-webengine-dev; do in_list "$p" "${list_run[@]}" || fail "the run list lacks $p"; done

# Every name is a Debian package, where apt's local lists are there to ask.
known=$(apt-cache pkgnames 2>/dev/null || true)
if [ -n "$known" ]; then
  for p in "${list_test[@]}"; do
    grep -qxF "$p" <<<"$known" || fail "no Debian package is called $p"
  done
fi

[ $status -eq 0 ] && echo "lists of ${#list_run[@]} (run), ${#list_package[@]} (package) and ${#list_test[@]} (test) packages"
exit $status
