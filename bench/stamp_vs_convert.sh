#!/bin/sh
# orvello-stamp stamp --reencode on a folder of generated 24-megapixel photos, beside ImageMagick's convert
# doing the same work (decode, one line of text, quality-100 4:4:4 encode, one process per
# photo), in one run on the same photos; and the peak memory of the batch, on one worker and on
# every core.
set -e
build=${1:-build}
count=${2:-4}
command -v convert >/dev/null || { echo "ImageMagick's convert is missing (make deps installs it)"; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (make deps installs it)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench-make-photos" "$work/in" "$count"
mkdir -p "$work/stamp" "$work/one" "$work/convert" "$work/config"
font=/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf
# Runs orvello-stamp on the folder into $work/NAME, recording seconds and peak memory (KB).
stamp() {
  name=$1
  shift
  XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%e %M %U %S' \
    -o "$work/$name.time" "$build/bin/orvello-stamp" stamp --reencode --quiet --out "$work/$name" "$@" \
    "$work/in" >/dev/null
}

stamp stamp
stamp one --jobs 1
# One convert process per photo, one after the other, timed as a whole.
cat >"$work/convert.sh" <<SCRIPT
for f in "$work"/in/*.jpg; do
  # The default stamp: 2 % of a 6000-pixel width is 160 pixels, at 60 % / 91 % of the photo.
  convert "\$f" -font "$font" -pointsize 160 -fill '#FFFF80' -annotate +3600+3800 \\
    '2007-12-10 14:30:00' -quality 100 -sampling-factor 1x1 \\
    -define jpeg:optimize-coding=false "$work/convert/PM_\$(basename "\$f")"
done
SCRIPT
/usr/bin/time -f '%e %M %U %S' -o "$work/convert.time" sh "$work/convert.sh"

read -r all allkb allu alls <"$work/stamp.time"
read -r one onekb oneu ones <"$work/one.time"
read -r conv convkb convu convs <"$work/convert.time"
awk -v n="$count" -v all="$all" -v allkb="$allkb" -v one="$one" -v onekb="$onekb" \
    -v cores="$(nproc)" -v conv="$conv" -v allcpu="$(echo "$allu $alls" | awk '{print $1 + $2}')" \
    -v convcpu="$(echo "$convu $convs" | awk '{print $1 + $2}')" -v load="$(cut -d' ' -f1 /proc/loadavg)" \
    -v s1="$(cat "$work"/stamp/* | wc -c)" -v s2="$(cat "$work"/convert/* | wc -c)" 'BEGIN {
  printf "photos: %d of 6000 x 4000, %d cores\n", n, cores
  printf "orvello-stamp stamp, every core: %.2f s per photo, %.1f MB per file, peak %d MB\n", all / n, s1 / n / 1e6, allkb / 1024
  printf "orvello-stamp stamp --jobs 1:    %.2f s per photo, peak %d MB\n", one / n, onekb / 1024
  printf "convert -annotate:               %.2f s per photo, %.1f MB per file\n", conv / n, s2 / n / 1e6
  printf "orvello-stamp is %.2f x as fast as convert (wall clock; load average %s)\n", conv / all, load
  printf "processor time: orvello-stamp %.2f s, convert %.2f s per photo (%.2f x)\n", allcpu / n, convcpu / n, convcpu / allcpu
}'
