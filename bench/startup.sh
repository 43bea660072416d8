#!/bin/sh
# Start-up to the first painted frame, measured from outside the process: Orvello with a photo,
# Orvello with its open dialog, and a bare Qt window as the floor, in the same run and display.
# The photo's floor is that window painting the photo decoded at 1/8 scale (a noisy 24 MP camera
# JPEG decodes like a real one; a smooth gradient decodes far quicker). The same photo carrying
# a 1920x1280 MPF preview, as many cameras write, shows that preview before the reduced decode.
# Usage: bench/startup.sh [build] [runs]; needs an X display (xvfb-run -a bench/startup.sh).
set -e
build=${1:-build}
runs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/photos" "$work/run" "$work/config"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
for i in 1 2 3 4 5; do
  convert -size 6000x4000 gradient:orange-navy -quality 92 "$work/photos/IMG_000$i.jpg"
done
"$build/bench/bench-make-photos" "$work/noisy" 2 6000 4000 IMG_ 97
noisy="$work/noisy/IMG_0002.jpg"
"$build/bench/bench-make-photos" "$work/mpf" 2 6000 4000 IMG_ 97 1920 1280
mpf="$work/mpf/IMG_0002.jpg"

# Median wall time in milliseconds of runs starts of the command.
measure() {
  for i in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000000 ))
  done | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

floor=$(measure "$build/bench/bench-bare-window")
photo=$(ORVELLO_EXIT_AT_FIRST_PAINT=window measure "$build/bin/orvello" "$work/photos/IMG_0003.jpg")
dialog=$(ORVELLO_EXIT_AT_FIRST_PAINT=dialog measure "$build/bin/orvello")
noisyFloor=$(measure "$build/bench/bench-bare-window" "$noisy")
noisyPhoto=$(ORVELLO_EXIT_AT_FIRST_PAINT=window measure "$build/bin/orvello" "$noisy")
mpfPhoto=$(ORVELLO_EXIT_AT_FIRST_PAINT=window measure "$build/bin/orvello" "$mpf")
echo "start-up to the first painted frame, median of $runs (24 MP photos):"
echo "  bare Qt window (floor)                   ${floor} ms"
echo "  orvello PHOTO (gradient)                 ${photo} ms  (goal 150)"
echo "  orvello with its open dialog             ${dialog} ms  (goal 250)"
echo "  bare window + noisy photo at 1/8 (floor) ${noisyFloor} ms"
echo "  orvello PHOTO (noisy, $(du -k "$noisy" | cut -f1) KB)             ${noisyPhoto} ms  (goal $((noisyFloor * 12 / 10)))"
echo "  orvello PHOTO (noisy, MPF preview)       ${mpfPhoto} ms  (goal $((noisyFloor * 12 / 10)))"
