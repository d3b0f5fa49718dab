# Sourced by scripts/run. When no FTP server is set for the transfer, starts a stand-in for the insurer's
# server on loopback (pyftpdlib as the tests use it: the Thai code page, user "online", a folder
# "Claim\<garage>" made for each garage on first use) and points this start of the program at it through
# VORLEX_FTP_HOST and VORLEX_FTP_PORT; the settings are not changed.
stand_in_pid=
stand_in_start() { # $1: the source folder, $2: vorlex-cli
  local here=$1 cli=$2 root portfile fifo port
  if [ -n "${VORLEX_FTP_HOST:-}" ] || [ -n "$("$cli" transfer --server 2>/dev/null)" ]; then
    return 0
  fi
  root=${VORLEX_STAND_IN_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/Vorlex/stand-in-insurer}
  mkdir -p "$root"
  portfile=$(mktemp)
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  /usr/bin/python3 "$here/tests/support/ftp_server.py" --root "$root" --user online --password zqvbrtkmw \
    --garage-folders --log "$root.log" <"$fifo" >"$portfile" &
  stand_in_pid=$!
  exec 4>"$fifo" # the server ends when this closes
  rm -f "$fifo"
  for _ in $(seq 100); do grep -q PORT "$portfile" 2>/dev/null && break; sleep 0.1; done
  port=$(awk '/PORT/ {print $2}' "$portfile")
  rm -f "$portfile"
  if [ -z "$port" ]; then
    echo "The stand-in insurer's server did not start (see $root.log); Transfer has no server." >&2
    stand_in_stop
    return 0
  fi
  export VORLEX_FTP_HOST=127.0.0.1 VORLEX_FTP_PORT=$port
  echo "No FTP Host is set: for this start Transfer sends to a stand-in insurer's server on 127.0.0.1 port $port."
  echo "Sent files arrive in: $root/Claim\\<garage name>"
}
stand_in_stop() {
  [ -n "$stand_in_pid" ] || return 0
  exec 4>&-
  wait "$stand_in_pid" 2>/dev/null || true
  stand_in_pid=
}
