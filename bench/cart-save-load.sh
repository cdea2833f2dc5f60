#!/usr/bin/env bash
# Saving and loading a cart of 1,000 prints, with time and peak memory.
#
# Save: "pavlora-tool cart import" of a hand-over file with 1,000 prints
# (parses it, builds the cart, copies every picture into the cart's picture
# folder, each made durable, writes the DES-encrypted cart file). Peer: "cp"
# of the same 1,000 pictures into a folder followed by "sync -f" of it, the
# file work any durable save has to do.
# Load: "pavlora-tool cart show" of that cart (decrypts, parses, reads the
# header of every picture). Peer: "identify -ping" of the same pictures.
# Tool times include the start of the tool and reading the demo catalogue.
#
# Usage: bench/cart-save-load.sh [RUNS] (default 3; the best run counts).
# Needs the ci build (cmake --preset ci), GNU time and ImageMagick.
set -euo pipefail

runs=${1:-3}
count=1000
root=$(cd "$(dirname "$0")/.." && pwd)
program=$root/build/ci/bin
tool=$program/pavlora-tool
cmake --build --preset ci --target pavlora-tool pavlora_demo_data -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/pictures"
# 1,000 camera-like JPEGs of 1200 × 800 pixels (about 100 KB each).
convert -size 1200x800 plasma:fractal -quality 85 "$work/seed.jpg"
for i in $(seq 0 $((count - 1))); do cp "$work/seed.jpg" "$work/pictures/IMG_$i.jpg"; done

make_handover() { # folder
  {
    printf '[General]\r\nAccount=0\r\nItems=%d\r\n' "$count"
    for i in $(seq 0 $((count - 1))); do
      printf '[%d]\r\nItems=1\r\nQuantity=1\r\nProduct=Prints.10.glossy\r\nFilename=IMG_%d.jpg\r\n' "$i" "$i"
    done
  } > "$1/Cart.fsw"
}

# "seconds peak-KiB" of a command.
measure() { /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1; cat "$work/time"; }
best() { sort -g | head -1; }

save_ours=(); load_ours=(); save_peer=(); load_peer=()
for _ in $(seq "$runs"); do
  rm -rf "$work/run" && mkdir "$work/run" && cp "$work/pictures/"*.jpg "$work/run/" && make_handover "$work/run"
  save_ours+=("$(measure "$tool" cart import --program "$program" "$work/run/Cart.fsw")")
  test -f "$work/run/Cart.psc" || { echo "the import wrote no cart" >&2; exit 1; }
  load_ours+=("$(measure "$tool" cart show --program "$program" "$work/run/Cart.psc")")
  lines=$("$tool" cart show --program "$program" "$work/run/Cart.psc" | wc -l)
  test "$lines" -eq "$count" || { echo "the cart holds $lines prints, not $count" >&2; exit 1; }
  rm -rf "$work/copy" && mkdir "$work/copy"
  save_peer+=("$(measure sh -c 'cp "$0"/*.jpg "$1"/ && sync -f "$1"' "$work/pictures" "$work/copy")")
  load_peer+=("$(measure identify -ping "$work/copy/"*.jpg)")
done

line() { # label ours peer peer-name; each "seconds KiB"
  read -r os om <<<"$2"; read -r ps pm <<<"$3"
  printf '%-5s pavlora-tool %6ss %8s KiB peak | %-14s %6ss %8s KiB peak\n' "$1" "$os" "$om" "$4" "$ps" "$pm"
}
echo "Cart with $count prints (best of $runs runs):"
line save "$(printf '%s\n' "${save_ours[@]}" | best)" "$(printf '%s\n' "${save_peer[@]}" | best)" "cp + sync"
line load "$(printf '%s\n' "${load_ours[@]}" | best)" "$(printf '%s\n' "${load_peer[@]}" | best)" "identify -ping"
