#!/usr/bin/env bash
# clientzepo run unattended on a demo workstation (scripts/make-demo-prefix),
# one row after the other on the same workstation: each row may change the
# workstation first, then runs the program with its options and checks the
# exit status, a line of standard output and a line of standard error
# (extended regular expressions; "-" checks nothing). Every --json output is
# validated against cli/check-result.schema.json, and --log files are
# checked at the end.
#
# Usage: cli/cli_test.sh PATH-OF-CLIENTZEPO   (needs python3-jsonschema)
set -euo pipefail
program=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d "${TMPDIR:-/tmp}/zepo-cli-test.XXXXXX")
trap 'rm -rf "$dir"' EXIT
export ZEPO_MAKE_PREFIX=${ZEPO_MAKE_PREFIX:-$(dirname "$program")/make-prefix}
export ZEPO_PREFIX=$dir/ws
"$root/scripts/make-demo-prefix" "$ZEPO_PREFIX" >/dev/null
etc=$ZEPO_PREFIX/drive_c/WINDOWS/system32/drivers/etc
log=$dir/run.log
# A Python with jsonschema: the first on PATH, else Debian's.
python=python3
$python -c 'import jsonschema' 2>/dev/null || python=/usr/bin/python3

# Steps a row can take before its run.
drop_hosts_line() { sed -i '/ZEPOSRV/d' "$etc/hosts"; }
drop_services() { mv "$etc/services" "$dir/services"; }

rows=(
  # status | step | options | standard output | standard error
  "2 | - | --check --server ALTRO --json | \"error\":\"Il file ZEPOINST.INI non esiste\" | ZEPOINST.INI non esiste"
  "2 | - | --check --server '' | - | Se non si specifica il nome del server"
  "1 | - | --check --server ZEPOSRV | ^Manca la cartella d:.zepo.prog$ | -"
  "1 | - | --check --server ZEPOSRV --json | \"state\":\"ERR\" | -"
  "2 | - | --install --server ZEPOSRV --posto '' --quiet | ^$ | ^clientzepo: Immettere il numero del posto$"
  "0 | - | --install --server ZEPOSRV --posto 7 --quiet --log $log | ^$ | ^3 File.s. copied$"
  "0 | - | --check --server ZEPOSRV --json | \"total\":\"Nessun errore\" | -"
  "2 | - | --install --server ZEPOSRV --posto 7 --no-overwrite | - | installazione precedente.*\\[Annulla\\]"
  "1 | drop_hosts_line | --check --server ZEPOSRV --json | \"report\":\\[\"Errore nel file HOSTS\"\\] | -"
  "0 | - | --repair --server ZEPOSRV --log $log | ^$ | -"
  "0 | - | --check --server ZEPOSRV | ^Nessun errore$ | -"
  "2 | - | --check --server ZEPOSRV --drive q: | - | Errore di run-time '68'"
  "2 | drop_services | --check --server ZEPOSRV --json | \"error\":\"Errore durante | Errore durante l'agg"
  "2 | - | --check --server ZEPOSRV --bogus | - | opzione sconosciuta: --bogus"
  "0 | - | /? | ^Uso: clientzepo | -"
)

failures=0
fail() {
  echo "cli_test: FAILED: $*" >&2
  failures=$((failures + 1))
}
# The standard output holds a line that matches (^$: holds nothing).
matches() {
  [[ $2 == - ]] && return 0
  [[ $2 == '^$' ]] && { [[ ! -s $1 ]]; return; }
  grep -qE -- "$2" "$1"
}
trim() { sed 's/^ *//; s/ *$//' <<<"$1"; }

for row in "${rows[@]}"; do
  IFS='|' read -r status step options out err <<<"$row"
  status=$(trim "$status") step=$(trim "$step") options=$(trim "$options")
  out=$(trim "$out") err=$(trim "$err")
  [[ $step == - ]] || $step
  eval "set -- $options"
  got=0
  "$program" "$@" >"$dir/out" 2>"$dir/err" || got=$?
  [[ $got == "$status" ]] || fail "$options: exit status $got, not $status: $(cat "$dir/err")"
  matches "$dir/out" "$out" || fail "$options: standard output has no /$out/: $(cat "$dir/out")"
  matches "$dir/err" "$err" || fail "$options: standard error has no /$err/: $(cat "$dir/err")"
  if [[ " $* " == *" --json "* ]]; then
    $python - "$root/cli/check-result.schema.json" "$dir/out" "$got" <<'PY' ||
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
lines = open(sys.argv[2]).read().splitlines()
assert len(lines) == 1, "not one line: %r" % lines
result = json.loads(lines[0])
jsonschema.Draft202012Validator(schema).validate(result)
assert result["status"] == int(sys.argv[3]), "status %s in the object" % result["status"]
PY
      fail "$options: the JSON is not a valid result"
  fi
done

# The log: the install and the repair appended time-stamped lines of what
# they wrote, the server's line put back into hosts included.
stamp='^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} '
for line in "inizio: .*--install" "messaggio: .*Installazione completata\\." \
  "cartella creata: d:.zepo.prog$" "comando: xcopy " "valore INI scritto: d:.zepo.zepo.ini \\[Abal~Context\\] ProcessOffset=70$" \
  "valore di registro scritto: HKEY_CURRENT_USER.*DBS_REG_32" "file copiato: .*Zepo NT.lnk$" \
  "fine, stato di uscita 0" "inizio: .*--repair" "file rinominato: .*hosts.bak -> .*hosts$"; do
  grep -qE "$stamp$line" "$log" || fail "the log has no line /$line/"
done
grep -qvE "$stamp" "$log" && fail "the log has lines without a time: $(grep -vE "$stamp" "$log")"
grep -qP '^192\.0\.2\.10\tZEPOSRV\r?$' "$etc/hosts" || fail "the repair did not put back the server's line"

((failures == 0)) || exit 1
echo "cli_test: ${#rows[@]} runs passed"
