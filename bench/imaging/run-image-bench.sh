#!/usr/bin/env bash
# Picture benchmarks against their peers, in one run on the same files:
#   1. thumbnails 160x160 of every sample photograph, one process for all
#      files: pavlora-tool image thumb  vs  vipsthumbnail;
#   2. measuring 1,000 pictures: GetImageInfo  vs  identify -ping;
#   3. peak memory while thumbnailing a 50 MP baseline JPEG (and, for the
#      record, a progressive one).
# Installs its peers and the sample photographs (Debian packages
# libvips-tools, imagemagick, plasma-workspace-wallpapers) when missing.
#
#   bench/imaging/run-image-bench.sh [BUILD_DIR]   (default build/release, else build/ci)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-}
if [ -z "$build" ]; then
  for candidate in "$root/build/release" "$root/build/ci"; do
    [ -x "$candidate/bin/pavlora-tool" ] && build=$candidate && break
  done
fi
tool="$build/bin/pavlora-tool"
infobench="$build/bench/imaging_info_bench"
[ -x "$tool" ] && [ -x "$infobench" ] || { echo "build pavlora-tool and imaging_info_bench first" >&2; exit 1; }

peers=(libvips-tools imagemagick plasma-workspace-wallpapers)
missing=()
for p in "${peers[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=(); [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t photos < <(find /usr/share/wallpapers -path '*/contents/images/*' -iname '*.jpg' | sort)
export VIPS_WARNING=0
[ ${#photos[@]} -gt 0 ] || { echo "no sample photographs found" >&2; exit 1; }
mkdir -p "$work/photos"
i=0
for p in "${photos[@]}"; do cp "$p" "$work/photos/$(printf '%03d' $i)-$(basename "$p")"; i=$((i + 1)); done
set -- "$work"/photos/*
megapixels=$(identify -ping -format '%w %h\n' "$@" | awk '{s += $1 * $2} END {printf "%.1f", s / 1e6}')
echo "sample: $# JPEG photographs, $megapixels megapixels in all ($(du -sh "$work/photos" | cut -f1))"
cat "$@" > /dev/null # warm the page cache for both sides

best() { # best elapsed seconds of 3 runs of the command
  local best=
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N); "$@" > /dev/null 2>&1; end=$(date +%s.%N)
    best=$(echo "$start $end ${best:-}" | awk '{t = $2 - $1; if ($3 != "" && $3 < t) t = $3; printf "%.3f", t}')
  done
  echo "$best"
}

echo
echo "== 1. thumbnails --box 160x160 (one process, all files, best of 3)"
mkdir -p "$work/ours" "$work/vips"
ours=$(best "$tool" image thumb --box 160x160 --out "$work/ours" "$@")
vips=$(best vipsthumbnail --size 160x160 -o "$work/vips/%s.jpg[Q=90]" "$@")
echo "pavlora-tool image thumb: ${ours} s"
echo "vipsthumbnail:            ${vips} s"
echo "speed-up: $(awk -v a="$vips" -v b="$ours" 'BEGIN {printf "%.2fx", a / b}')"

echo
echo "== 2. measuring 1,000 pictures (one process, best of 3)"
: > "$work/list"
n=0
while [ $n -lt 1000 ]; do
  for p in "$@"; do
    [ $n -lt 1000 ] || break
    ln -s "$p" "$work/photos/link-$n.jpg"
    echo "$work/photos/link-$n.jpg" >> "$work/list"
    n=$((n + 1))
  done
done
"$infobench" "$work/list" 3
mapfile -t links < "$work/list"
identify=$(best identify -ping -format '%w %h\n' "${links[@]}")
echo "identify -ping: $(awk -v s="$identify" 'BEGIN {printf "%.2f ms", s * 1000}') (process included)"

echo
echo "== 3. peak memory thumbnailing one 50 MP JPEG (maximum resident set)"
largest=$(identify -ping -format '%w %h %i\n' "$@" | awk '{print $1 * $2, $3}' | sort -n | tail -1 | cut -d' ' -f2-)
scale=$(identify -ping -format '%w %h' "$largest" | awk '{printf "%.4f", sqrt(50.1e6 / ($1 * $2))}')
vips resize "$largest" "$work/big.v" "$scale" > /dev/null
vips copy "$work/big.v" "$work/big-baseline.jpg[Q=90]"
vips copy "$work/big.v" "$work/big-progressive.jpg[Q=90,interlace]"
echo "picture: $(identify -ping -format '%w x %h' "$work/big-baseline.jpg")"
for kind in baseline progressive; do
  mkdir -p "$work/mem-$kind"
  rss=$( { /usr/bin/time -f '%M' "$tool" image thumb --box 160x160 --out "$work/mem-$kind" "$work/big-$kind.jpg" > /dev/null; } 2>&1 | tail -1)
  vrss=$( { /usr/bin/time -f '%M' vipsthumbnail --size 160x160 -o "$work/mem-$kind/%s-vips.jpg" "$work/big-$kind.jpg" > /dev/null; } 2>&1 | tail -1)
  echo "$kind: pavlora-tool $((rss / 1024)) MiB, vipsthumbnail $((vrss / 1024)) MiB"
done
