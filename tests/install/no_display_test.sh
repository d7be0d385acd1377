#!/usr/bin/env bash
# Without a display the program says so in one sentence and exits with 1, both
# with no display named and with one that is not there.
set -uo pipefail
program=$1
expected="Exam Practice cannot start: it needs a graphical desktop, and no display was found."
status=0
for display in "" ":987"; do
  err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" HOME="$(mktemp -d)" "$program" 2>&1 >/dev/null)
  code=$?
  if [ "$code" -ne 1 ] || [ "$err" != "$expected" ]; then
    echo "FAIL: DISPLAY='$display': exit $code, said:"
    echo "$err"
    status=1
  fi
done
[ $status -eq 0 ] && echo "no display: one sentence and exit 1"
exit $status
