#!/usr/bin/env bash
# Sets kivbench's SFTP copies and listing beside OpenSSH's sftp client on the same files, served by
# a throwaway sshd on 127.0.0.1: a 512 MiB file, a folder of 2,000 files, a folder of 10,000
# entries. Both clients use the same key, known_hosts and cipher defaults. Prints hyperfine's
# tables; what it makes goes when it ends. Usage: bench/sftpbench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
kivbench=$build/bench/kivbench
work=$(mktemp -d /tmp/sftpbench-XXXXXX)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

[ "$(id -u)" = 0 ] && mkdir -p /run/sshd
mkdir -p "$work/home/.ssh" "$work/files/many" "$work/files/wide" "$work/out"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/home/.ssh/id_ed25519"
cp "$work/home/.ssh/id_ed25519.pub" "$work/authorized_keys"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > "$work/sshd_config" <<CONFIG
ListenAddress 127.0.0.1
HostKey $work/host_key
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
StrictModes no
UsePAM no
Subsystem sftp internal-sftp
CONFIG
/usr/sbin/sshd -D -f "$work/sshd_config" -p "$port" 2>"$work/sshd.log" &
pid=$!
echo "[127.0.0.1]:$port $(cat "$work/host_key.pub")" > "$work/home/.ssh/known_hosts"
sleep 1

head -c 512M /dev/urandom > "$work/files/big.bin"
for i in $(seq 2000); do head -c $((RANDOM * 2)) /dev/urandom > "$work/files/many/file$i"; done
(cd "$work/files/wide" && seq 10000 | sed 's/^/entry/' | xargs touch)

user=$(id -un)
url="sftp://$user@127.0.0.1:$port"
# OpenSSH's client takes ~ from the account, so it is pointed at the same files explicitly.
sftp="sftp -q -P $port -i $work/home/.ssh/id_ed25519 -o UserKnownHostsFile=$work/home/.ssh/known_hosts -o BatchMode=yes"
fresh="rm -rf $work/out && mkdir $work/out"
export HOME=$work/home SSH_AUTH_SOCK=

hyperfine -r "$runs" -p "$fresh" \
  -n 'kivbench 512 MiB' "$kivbench copy $url$work/files/big.bin $work/out" \
  -n 'sftp 512 MiB' "$sftp $user@127.0.0.1:$work/files/big.bin $work/out"
hyperfine -r "$runs" -p "$fresh" \
  -n 'kivbench 2,000 files' "$kivbench copy $url$work/files/many $work/out" \
  -n 'sftp get -r 2,000 files' "echo 'get -r $work/files/many $work/out/' | $sftp -b - $user@127.0.0.1"
hyperfine -r "$runs" -p "$fresh" \
  -n 'kivbench upload 512 MiB' "$kivbench copy $work/files/big.bin $url$work/out" \
  -n 'sftp put 512 MiB' "echo 'put $work/files/big.bin $work/out/' | $sftp -b - $user@127.0.0.1"
hyperfine -r "$runs" -w 1 \
  -n 'kivbench remote-list 10,000' "$kivbench remote-list $url$work/files/wide" \
  -n 'sftp ls -l 10,000' "echo 'ls -l $work/files/wide' | $sftp -b - $user@127.0.0.1 >/dev/null"
