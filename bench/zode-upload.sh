#!/bin/sh
# Upload throughput of TINA::UploadFile against one curl process posting the
# same files one request each, to the same reference order server in the
# same run; and the peak memory of the uploader for small and large files.
#
# Usage: bench/zode-upload.sh [BUILD_DIR] [http|https]
# Target: TINA reaches at least 80% of curl's throughput; its peak memory
# does not grow with the file size.
set -eu

build=${1:-build/ci}
scheme=${2:-http}
work=$(mktemp -d)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$work/small" "$work/large"
i=1
while [ $i -le 200 ]; do
    head -c 2097152 /dev/urandom > "$work/small/File_$(printf %03d $i).jpg"
    i=$((i + 1))
done
i=1
while [ $i -le 4 ]; do
    head -c 104857600 /dev/urandom > "$work/large/File_$i.jpg"
    i=$((i + 1))
done

"$build/bin/pavlora-order-server" --port 0 --tls-port 0 --cert-out "$work/ca.pem" --orders "$work/orders" \
    --accept-any-upload > "$work/server.out" &
server_pid=$!
for _ in $(seq 50); do
    grep -q '^listening' "$work/server.out" 2>/dev/null && break
    sleep 0.1
done
http_port=$(sed -n 's/^listening http=\([0-9]*\) https=\([0-9]*\)$/\1/p' "$work/server.out")
https_port=$(sed -n 's/^listening http=\([0-9]*\) https=\([0-9]*\)$/\2/p' "$work/server.out")
if [ "$scheme" = https ]; then
    url="https://127.0.0.1:$https_port/upload"
else
    url="http://127.0.0.1:$http_port/upload"
fi

# The peer: one curl process, one request per file.
args=
first=1
for f in "$work"/small/*.jpg; do
    [ $first -eq 1 ] || args="$args --next"
    first=0
    args="$args -s -o /dev/null --noproxy * --cacert $work/ca.pem -F uplid=bench -F filename=@$f;type=image/jpeg -F dummy=eof $url"
done
start=$(date +%s.%N)
# shellcheck disable=SC2086
set -f; curl $args; set +f
end=$(date +%s.%N)
curl_seconds=$(echo "$end - $start" | bc -l)
curl_mbps=$(echo "200 * 2.097152 / $curl_seconds" | bc -l)

ours=$("$build/bench/zode-upload-bench" "$url" "$work/small" "$work/ca.pem")
ours_mbps=$(echo "$ours" | sed -n 's/.*MBps=\([0-9.]*\).*/\1/p')
large=$("$build/bench/zode-upload-bench" "$url" "$work/large" "$work/ca.pem")

printf 'scheme: %s\n' "$scheme"
printf 'curl (one process, 200 x 2 MB): %.3f s, %.1f MB/s\n' "$curl_seconds" "$curl_mbps"
printf 'TINA.UploadFile (200 x 2 MB):   %s\n' "$ours"
printf 'TINA.UploadFile (4 x 100 MB):   %s\n' "$large"
printf 'TINA / curl throughput: %.0f%%\n' "$(echo "100 * $ours_mbps / $curl_mbps" | bc -l)"
