#!/usr/bin/env bash
# clientzepo started on a workstation whose platform.ini is malformed (a
# Version of 50 digits): a box titled clientZEPO tells why, standard error
# names the file and the line, and once the box is closed the program ends
# with exit status 2, having laid out nothing in the prefix.
#
# Usage: app/qt/main_test.sh PATH-OF-CLIENTZEPO   (needs xvfb-run and xdotool)
set -euo pipefail
if [[ -z ${ZEPO_MAIN_TEST_INNER:-} ]]; then
  exec env ZEPO_MAIN_TEST_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
program=$1
dir=$(mktemp -d "${TMPDIR:-/tmp}/zepo-main-test.XXXXXX")
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "main_test: FAILED: $*" >&2
  exit 1
}

printf '[System]\r\nPlatform=2\r\nVersion=%s\r\n' "$(printf '9%.0s' {1..50})" >"$dir/platform.ini"
ZEPO_PREFIX=$dir QT_QPA_PLATFORM=xcb "$program" 2>"$dir/stderr" &
pid=$!

box=
for _ in $(seq 1 60); do
  box=$(xdotool search --onlyvisible --name '^clientZEPO$' 2>/dev/null | head -n 1 || true)
  [[ -n $box ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
[[ -n $box ]] || fail "no box titled clientZEPO came up"
sleep 0.5
xdotool windowfocus --sync "$box"
xdotool key Return

status=0
wait "$pid" || status=$?
pid=
[[ $status -eq 2 ]] || fail "exit status $status, not 2"
grep -qF "clientzepo: $dir/platform.ini:3: " "$dir/stderr" ||
  fail "standard error does not name the file and the line: $(cat "$dir/stderr")"
[[ ! -e $dir/dosdevices ]] || fail "the prefix was laid out"
echo "main_test: passed"
