#!/bin/sh
# The committed skin, icons and button pictures are what orvello-make-artwork draws: the same files,
# the same pixels. Qt's smoothing rounds differently on processors with other vector units (a
# level or two of an edge pixel), so a pixel may differ by 1 % at most; a changed drawing moves
# far more than that.
set -eu
make_artwork=$1 out=$2 committed=$3
rm -rf "$out"
"$make_artwork" "$out"
for d in skin icons buttons; do
  [ "$(cd "$out/$d" && ls)" = "$(cd "$committed/$d" && ls)" ] || { echo "$d: other files than committed"; exit 1; }
  for f in "$committed/$d"/*.png; do
    n=$(compare -metric AE -fuzz 1% "$out/$d/${f##*/}" "$f" null: 2>&1) || true
    [ "$n" = 0 ] || { echo "$d/${f##*/}: $n pixels differ"; exit 1; }
  done
done
