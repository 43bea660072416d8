#!/bin/sh
# orvello-stamp stamp --reencode (the full encode) on noisy 24-megapixel photos beside the floor
# of the same work on the same cores: djpeg | cjpeg -quality 100 -sample 1x1 through xargs -P, one job per core. Both run in
# turns in the one run, three times; the best of each is compared, by the clock and by the
# processor time (on a machine busy with other work the clock favours the floor's four
# processes against our two threads, while the processor time does not depend on the load).
set -e
build=${1:-build}
count=${2:-4}
rounds=${3:-3}
command -v djpeg >/dev/null && command -v cjpeg >/dev/null ||
  { echo "djpeg and cjpeg are missing (libjpeg-turbo-progs)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench-make-photos" "$work/in" "$count"
mkdir -p "$work/config"
cores=$(nproc)
# Wall-clock and processor seconds, as "WALL CPU".
seconds() {
  /usr/bin/time -f '%e %U %S' -o "$work/t" "$@" >/dev/null 2>&1
  awk '{print $1, $2 + $3}' "$work/t"
}
better() { echo "$1 $2" | awk '{print ($2 == "" || $1 < $2) ? $1 : $2}'; }
best_stamp= best_floor= cpu_stamp= cpu_floor=
for round in $(seq "$rounds"); do
  rm -rf "$work/stamp" "$work/floor"
  mkdir -p "$work/stamp" "$work/floor"
  s=$(XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen seconds \
    "$build/bin/orvello-stamp" stamp --reencode --quiet --out "$work/stamp" "$work/in")
  f=$(seconds sh -c "ls '$work'/in/*.jpg | xargs -P $cores -I{} sh -c \
    'djpeg \"\$1\" | cjpeg -quality 100 -sample 1x1 >\"$work/floor/\$(basename \"\$1\")\"' _ {}")
  echo "round $round: orvello-stamp $s, floor $f (seconds: clock, processor)"
  best_stamp=$(better "${s% *}" "$best_stamp")
  best_floor=$(better "${f% *}" "$best_floor")
  cpu_stamp=$(better "${s#* }" "$cpu_stamp")
  cpu_floor=$(better "${f#* }" "$cpu_floor")
done
awk -v n="$count" -v c="$cores" -v s="$best_stamp" -v f="$best_floor" -v cs="$cpu_stamp" \
    -v cf="$cpu_floor" -v load="$(cut -d' ' -f1 /proc/loadavg)" 'BEGIN {
  printf "%d photos of 6000 x 4000 on %d cores (load average %s), best of the rounds:\n", n, c, load
  printf "orvello-stamp stamp:               %.2f s (%.2f s per photo), processor %.2f s\n", s, s / n, cs
  printf "floor djpeg | cjpeg, xargs -P %d:   %.2f s (%.2f s per photo), processor %.2f s\n", c, f, f / n, cf
  printf "orvello-stamp costs %.2f x the floor by the clock, %.2f x by processor time (goal: at most 1.1 x)\n", s / f, cs / cf
}'
