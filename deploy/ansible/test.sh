#!/usr/bin/env bash
# The role run by ansible-playbook against three Linux workstations on this
# machine (demo prefixes, ansible_connection=local): "rotto" has a client
# whose hosts lacks the server's line, "nuovo" has no client, "buono" has a
# working one. The first run installs nuovo, repairs rotto and leaves
# buono; the second run changes nothing; then the prefixes' files are
# checked. The Windows tasks are checked with --syntax-check on a Windows
# inventory.
#
# Usage: deploy/ansible/test.sh PATH-OF-CLIENTZEPO   (needs ansible)
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
dir=$(mktemp -d "${TMPDIR:-/tmp}/zepo-ansible-test.XXXXXX")
trap 'rm -rf "$dir"' EXIT
export ZEPO_MAKE_PREFIX=${ZEPO_MAKE_PREFIX:-$(dirname "$program")/make-prefix}
export ANSIBLE_LOCAL_TEMP=$dir/ansible-tmp ANSIBLE_REMOTE_TEMP=$dir/ansible-tmp
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_HOST_KEY_CHECKING=0
fail() {
  echo "ansible test: FAILED: $*" >&2
  exit 1
}

for host in rotto nuovo buono; do
  "$root/scripts/make-demo-prefix" "$dir/$host" >/dev/null
done
for host in rotto buono; do
  ZEPO_PREFIX=$dir/$host "$program" --install --server ZEPOSRV --posto 1 --quiet 2>/dev/null
done
hosts() { echo "$dir/$1/drive_c/WINDOWS/system32/drivers/etc/hosts"; }
sed -i '/ZEPOSRV/d' "$(hosts rotto)"

cat >"$dir/inventory.yml" <<YAML
zepo_workstations:
  vars:
    ansible_connection: local
    ansible_python_interpreter: $(command -v python3)
    clientzepo_program: $program
  hosts:
    rotto: {clientzepo_posto: 1, clientzepo_prefix: $dir/rotto, clientzepo_log: $dir/rotto.log}
    nuovo: {clientzepo_posto: 2, clientzepo_prefix: $dir/nuovo}
    buono: {clientzepo_posto: 3, clientzepo_prefix: $dir/buono}
YAML

# The recap's changed= of a host, after a run.
changed() { grep -E "^$1 +:" "$2" | sed -E 's/.*changed=([0-9]+).*/\1/'; }
for run in 1 2; do
  ansible-playbook -i "$dir/inventory.yml" "$here/site.yml" >"$dir/run$run" 2>&1 ||
    fail "run $run: $(cat "$dir/run$run")"
  echo "--- run $run"
  sed -n '/PLAY RECAP/,$p' "$dir/run$run" | grep -v '^$'
done
[[ $(changed rotto "$dir/run1") == 1 && $(changed nuovo "$dir/run1") == 1 &&
  $(changed buono "$dir/run1") == 0 ]] || fail "the first run did not change exactly rotto and nuovo"
# The hosts that a task of a run changed.
changed_by() { awk -v task="$1" '/^TASK /{on = index($0, task) > 0} on && /^changed: /' "$2"; }
[[ $(changed_by 'Repair the client' "$dir/run1") == 'changed: [rotto]' ]] || fail "rotto was not repaired"
[[ $(changed_by 'Install the client' "$dir/run1") == 'changed: [nuovo]' ]] || fail "nuovo was not installed"
for host in rotto nuovo buono; do
  [[ $(changed $host "$dir/run2") == 0 ]] || fail "the second run changed $host"
done

# The files: the server's line in every hosts, nuovo's client on its drive D:.
for host in rotto nuovo buono; do
  grep -qP '^192\.0\.2\.10\tZEPOSRV\r?$' "$(hosts $host)" || fail "$host's hosts lacks the server's line"
done
[[ -f $dir/nuovo/drive_d/zepo/prog/zepont.exe ]] || fail "nuovo has no client"
grep -q 'ProcessOffset=20' "$dir/nuovo/drive_d/zepo/zepo.ini" || fail "nuovo is not workstation 2"
grep -q 'inizio: .*--repair' "$dir/rotto.log" || fail "rotto's log has no repair"

# The Windows tasks, on a Windows inventory.
cat >"$dir/windows.yml" <<YAML
zepo_workstations:
  vars: {ansible_connection: winrm}
  hosts:
    cassa1: {clientzepo_posto: 1}
YAML
ansible-playbook --syntax-check -i "$dir/windows.yml" "$here/site.yml" >/dev/null ||
  fail "the playbook's syntax"
ansible-playbook --syntax-check -i "$here/inventory.example.yml" "$here/site.yml" >/dev/null ||
  fail "the example inventory"
echo "ansible test: passed"
