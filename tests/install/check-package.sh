#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and inspects it: the same files as an
# install under /usr, the libraries dpkg-shlibdeps found, and the packages added by hand.
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
}
deb=$(ls "$work"/orvello_*.deb 2>/dev/null | head -1)
[[ -n "$deb" ]] || { echo "FAIL: no orvello_*.deb"; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[[ "$(field Package)" == orvello ]] || fail "package name $(field Package)"
version=$("$build/bin/orvello-stamp" --version | awk '{print $NF}')
[[ "$(field Version)" == "$version" ]] || fail "version $(field Version), programs say $version"
[[ "$(basename "$deb")" == "orvello_${version}_$(dpkg --print-architecture).deb" ]] ||
  fail "file name $(basename "$deb")"
depends=$(field Depends)
# Found in the binaries by dpkg-shlibdeps, and named by hand for what is loaded at run time.
for pkg in libc6 libqt6widgets6 libqt6printsupport6 libexiv2-27 libturbojpeg0 libheif1 \
  qt6-image-formats-plugins fonts-arphic-uming fonts-wqy-zenhei; do
  grep -qE "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg: $depends"
done
[[ "$(field Description | head -1)" != "$(field Description | sed -n 2p | sed 's/^ //')" ]] ||
  fail "description repeats its summary"

expected=$(sed 's|^|usr/|' "$here/installed-files.txt" | LC_ALL=C sort)
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '/$' | LC_ALL=C sort)
[[ "$actual" == "$expected" ]] ||
  fail "packaged files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
# Stripped programs, and everything owned by root.
dpkg-deb --fsys-tarfile "$deb" | tar -tv | awk '$2 != "root/root" {print "FAIL: owner " $0; bad=1} END {exit bad}' ||
  failures=$((failures + 1))
dpkg-deb -x "$deb" "$work/root"
for bin in orvello orvello-stamp; do
  file -b "$work/root/usr/bin/$bin" | grep -q ", stripped" || fail "$bin is not stripped"
done

# The copyright file is machine-readable and names the fonts' licence beside the program's.
copyright=$work/root/usr/share/doc/orvello/copyright
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not machine-readable"
grep -q '^Files: usr/share/orvello/fonts/\*' "$copyright" || fail "copyright does not name the fonts"
grep -q '^License: OFL-1.1$' "$copyright" || fail "copyright lacks the fonts' licence"
# lintian's errors fail the package; its warnings are only shown.
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1
  grep '^W: ' "$work/lintian.txt"
  ! grep '^E: ' "$work/lintian.txt" || fail "lintian found errors"
else
  fail "lintian is not installed (tools/debian-packages.txt)"
fi

if [[ $failures -eq 0 ]]; then
  echo "package $(basename "$deb"): all checks passed"
  exit 0
fi
echo "$failures check(s) failed"
exit 1
