#!/usr/bin/env bash
# Installs the Debian package with apt, runs the installed programs on an installed JPEG, removes
# the package again and checks that none of its files is left. It changes the system (as root):
# run it on a machine where installing and removing orvello is fine.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
deb=$(ls "$build"/orvello_*.deb | tail -1)
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$')
echo "$files"

echo "== apt-get install"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; exit 1; }
[[ "$(command -v orvello-stamp)" == /usr/bin/orvello-stamp ]]
orvello --version
orvello-stamp --version

# Any JPEG another package installed; the sample photo where there is none.
photo=$(find /usr/share -type f -iname '*.jpg' -size +1k 2>/dev/null | grep -v '^/usr/share/orvello' | head -1)
[[ -n "$photo" ]] || photo=$source/samples/landscape.jpg
echo "== orvello-stamp exif $photo"
orvello-stamp exif "$photo"
echo "== orvello-stamp stamp"
XDG_CONFIG_HOME=$work/config orvello-stamp stamp --title "Debian" --out "$work" "$photo"
identify "$work/PM_$(basename "$photo")"

echo "== apt-get remove"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orvello >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; exit 1; }
left=0
while read -r f; do
  if [[ -e "$f" ]]; then
    echo "left behind: $f"
    left=1
  fi
done <<<"$files"
for d in /usr/share/orvello; do
  [[ ! -e $d ]] || { echo "left behind: $d"; left=1; }
done
if dpkg-query -W -f='${Status}\n' orvello 2>/dev/null | grep -qx 'install ok installed'; then
  echo "orvello is still installed"
  left=1
fi
[[ $left -eq 0 ]] && echo "package: installed, used and removed without a trace"
exit $left
