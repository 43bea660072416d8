#!/bin/sh
# The peak memory of orvello-stamp stamp on 50 photos of 24 megapixels alone, and on the same 50
# among 2,000 small photos: a long run must not grow with the number of photos.
set -e
build=${1:-build}
large=${2:-50}
small=${3:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench-make-photos" "$work/large" "$large"
"$build/bench/bench-make-photos" "$work/mixed" "$small" 640 480 small_
# The same large photos, spread among the small ones by name.
for f in "$work"/large/*.jpg; do ln "$f" "$work/mixed/$(basename "$f")"; done
mkdir -p "$work/config" "$work/out1" "$work/out2"
peak() {
  XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%M %e' -o "$work/t" \
    "$build/bin/orvello-stamp" stamp --quiet --out "$1" "$2" >/dev/null
  cat "$work/t"
}
read -r alone_kb alone_s <<EOT
$(peak "$work/out1" "$work/large")
EOT
read -r mixed_kb mixed_s <<EOT
$(peak "$work/out2" "$work/mixed")
EOT
awk -v a="$alone_kb" -v m="$mixed_kb" -v as="$alone_s" -v ms="$mixed_s" -v l="$large" \
    -v s="$small" -v c="$(nproc)" 'BEGIN {
  printf "on %d cores:\n", c
  printf "%d photos of 24 MP:                 peak %d MB (%.1f s)\n", l, a / 1024, as
  printf "the same among %d of 640 x 480:   peak %d MB (%.1f s)\n", s, m / 1024, ms
  printf "mixed / alone: %.3f (goal: at most 1.10)\n", m / a
}'
