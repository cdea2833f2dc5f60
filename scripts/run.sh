#!/usr/bin/env bash
# Installs what the project needs, builds it and starts the program on the
# demo deployment through its launcher, as an installation starts it, with
# the reference order server on a free loopback port (HTTPS, its
# certificate trusted through "ca_file"). The server stops when the program
# ends, also on Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release

bin=build/release/bin
run=$(mktemp -d)
server_pid=

cleanup() {
    if [[ -n $server_pid ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    # The program folder goes back to the demo deployment as built.
    cp data/demo/XChg.dat "$bin/Data/XChg.dat" || true
    rm -f "$bin/AppIni.dat"
    rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$bin/pavlora-order-server" --port 0 --tls-port 0 --cert-out "$run/server.pem" \
    --data "$bin/OrderServerData" --die-with-parent >"$run/server.out" 2>"$run/server.err" &
server_pid=$!

line=
for _ in $(seq 100); do
    line=$(grep -m1 '^listening ' "$run/server.out" || true)
    [[ -n $line ]] && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
        cat "$run/server.err" >&2
        echo "run.sh: the order server did not start" >&2
        exit 1
    fi
    sleep 0.1
done
if [[ -z $line ]]; then
    echo "run.sh: the order server did not report its ports" >&2
    exit 1
fi
http=${line#*http=}
http=${http%% *}
echo "Order server: $line"

# The program folder's copy of the deployment talks to this server; its
# certificate is trusted through "ca_file" in the program folder's AppIni.dat.
sed -E -e "s#controller_url=\"[^\"]*\"#controller_url=\"127.0.0.1:$http/zode\"#" \
    -e "s#dtd_url=\"[^\"]*\"#dtd_url=\"127.0.0.1:$http/dtd\"#" \
    -e "s#use_ssl=\"[^\"]*\"#use_ssl=\"true\"#" data/demo/XChg.dat >"$bin/Data/XChg.dat"
cat >"$bin/AppIni.dat" <<INI
<?xml version="1.0" encoding="UTF-8"?>
<ini>
  <ca_file>$(realpath "$run/server.pem")</ca_file>
</ini>
INI

# The launcher replaces itself with the program: this waits for its end.
status=0
"$bin/Loader" "$@" || status=$?
exit "$status"
