#!/bin/sh
# orvello-stamp stamp on a folder of generated 24-megapixel photos, beside ImageMagick's convert
# doing the same work (decode, one line of text, quality-100 4:4:4 encode), in one run.
set -e
build=${1:-build}
count=${2:-3}
command -v convert >/dev/null || { echo "ImageMagick's convert is missing (make deps installs it)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench-make-photos" "$work/in" "$count"
mkdir -p "$work/stamp" "$work/convert" "$work/config"
font=/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf

now() { date +%s.%N; }
t0=$(now)
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
  "$build/bin/orvello-stamp" stamp --out "$work/stamp" "$work"/in/*.jpg >/dev/null
t1=$(now)
for f in "$work"/in/*.jpg; do
  # The default stamp: 2 % of a 6000-pixel width is 160 pixels, at 60 % / 91 % of the photo.
  convert "$f" -font "$font" -pointsize 160 -fill '#FFFF80' -annotate +3600+3800 \
    '2007-12-10 14:30:00' -quality 100 -sampling-factor 1x1 \
    -define jpeg:optimize-coding=false "$work/convert/PM_$(basename "$f")"
done
t2=$(now)

size() { du -b "$1" | awk '{print $1}'; }
awk -v n="$count" -v a="$t0" -v b="$t1" -v c="$t2" \
    -v s1="$(cat "$work"/stamp/* | wc -c)" -v s2="$(cat "$work"/convert/* | wc -c)" 'BEGIN {
  printf "photos: %d of 6000 x 4000\n", n
  printf "orvello-stamp stamp: %.2f s per photo, %.1f MB per file\n", (b - a) / n, s1 / n / 1e6
  printf "convert -annotate:   %.2f s per photo, %.1f MB per file\n", (c - b) / n, s2 / n / 1e6
}'
