#!/bin/sh
# The default (lossless) orvello-stamp stamp on noisy 24-megapixel photos beside its floor on the
# same photos and cores, in the same run: jpegtran -copy all through xargs -P, one job per core
# (with -optimize when the photos' Huffman tables are optimised, as the copies' then are). Both
# run in turns, three times; the best of each is compared by the clock and by processor time.
# Also prints the copies' size against the photos', with and without the restore data.
set -e
build=${1:-build}
count=${2:-4}
rounds=${3:-3}
command -v jpegtran >/dev/null || { echo "jpegtran is missing (libjpeg-turbo-progs)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench-make-photos" "$work/in" "$count"
mkdir -p "$work/config"
cores=$(nproc)
# The picture's luminance DC table (the last in the header: an EXIF thumbnail's comes first),
# compared with the standard luminance DC table.
optimize=-optimize
[ "$(head -c 131072 "$(ls "$work"/in/*.jpg | head -1)" | od -An -tx1 -v | tr -d ' \n' |
  grep -o 'ffc4001f00[0-9a-f]\{32\}' | tail -1)" = \
  ffc4001f0000010501010101010100000000000000 ] && optimize=
seconds() {
  /usr/bin/time -f '%e %U %S' -o "$work/t" "$@" >/dev/null 2>&1
  awk '{print $1, $2 + $3}' "$work/t"
}
better() { echo "$1 $2" | awk '{print ($2 == "" || $1 < $2) ? $1 : $2}'; }
bytes() { du -cb "$@" | tail -1 | cut -f1; }
best_stamp= best_floor= cpu_stamp= cpu_floor=
for round in $(seq "$rounds"); do
  rm -rf "$work/stamp" "$work/floor"
  mkdir -p "$work/stamp" "$work/floor"
  s=$(seconds sh -c "XDG_CONFIG_HOME='$work/config' QT_QPA_PLATFORM=offscreen \
    '$build/bin/orvello-stamp' stamp --quiet --out '$work/stamp' '$work/in'")
  f=$(seconds sh -c "ls '$work'/in/*.jpg | xargs -P $cores -I{} sh -c \
    'jpegtran -copy all $optimize \"\$1\" >\"$work/floor/\$(basename \"\$1\")\"' _ {}")
  echo "round $round: orvello-stamp $s, floor $f (seconds: clock, processor)"
  best_stamp=$(better "${s% *}" "$best_stamp")
  best_floor=$(better "${f% *}" "$best_floor")
  cpu_stamp=$(better "${s#* }" "$cpu_stamp")
  cpu_floor=$(better "${f#* }" "$cpu_floor")
done
mkdir -p "$work/bare"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
  "$build/bin/orvello-stamp" stamp --quiet --no-restore-data --out "$work/bare" "$work/in"
awk -v n="$count" -v c="$cores" -v s="$best_stamp" -v f="$best_floor" -v cs="$cpu_stamp" \
    -v cf="$cpu_floor" -v o="${optimize:-(standard tables)}" \
    -v src="$(bytes "$work"/in/*.jpg)" -v with="$(bytes "$work"/stamp/*.jpg)" \
    -v bare="$(bytes "$work"/bare/*.jpg)" -v load="$(cut -d' ' -f1 /proc/loadavg)" 'BEGIN {
  printf "%d photos of 6000 x 4000 on %d cores (load average %s), best of the rounds:\n", n, c, load
  printf "orvello-stamp stamp (lossless):    %.2f s (%.2f s per photo), processor %.2f s\n", s, s / n, cs
  printf "floor jpegtran -copy all %s, xargs -P %d: %.2f s, processor %.2f s\n", o, c, f, cf
  printf "orvello-stamp costs %.2f x the floor by the clock, %.2f x by processor time (goal: at most 1.1 x)\n", s / f, cs / cf
  printf "copies / photos: %.4f with the restore data (goal 1.05), %.4f without (goal 1.03)\n", with / src, bare / src
}'
