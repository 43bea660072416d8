#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user and the desktop get from it:
# the exact file list, the desktop entry, the AppStream data, the icons, the man pages, and the
# installed orvello-stamp finding its fonts and stamping a photo.
set -uo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
}

app=org.orvello.Orvello
expected=$(LC_ALL=C sort "$(dirname "$0")/installed-files.txt")
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[[ "$actual" == "$expected" ]] ||
  fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
[[ -x $prefix/bin/orvello && -x $prefix/bin/orvello-stamp ]] || fail "programs not executable"

# Desktop entry and AppStream data, as the desktop's tools read them.
desktop=$prefix/share/applications/$app.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
for line in "Exec=orvello %f" "MimeType=image/jpeg;image/tiff;image/heic;image/heif;" "Categories=Graphics;Photography;" \
  "Icon=$app" "Type=Application"; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks: $line"
done
for key in "Name" "Name\[zh_CN\]" "Comment" "Comment\[zh_CN\]"; do
  grep -q "^$key=." "$desktop" || fail "desktop entry lacks $key"
done
metainfo=$prefix/share/metainfo/$app.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/as.log" 2>&1 || {
  cat "$work/as.log"
  fail "appstreamcli validate"
}
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch the desktop entry"
grep -q "<id>$app</id>" "$metainfo" || fail "metainfo id"
grep -q "<screenshot" "$metainfo" || fail "metainfo has no screenshot"
version=$("$prefix/bin/orvello-stamp" --version | awk '{print $NF}')
first_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[[ -n "$version" && "$first_release" == "$version" ]] ||
  fail "newest metainfo release $first_release is not the program's version $version"
[[ "$("$prefix/bin/orvello" --version)" == "orvello (Orvello) $version" ]] || fail "orvello --version"

# Each icon has the size its folder names.
for size in 16 32 48 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png
  [[ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" == "PNG ${size}x${size}" ]] ||
    fail "icon $icon is not a ${size}x${size} PNG"
done

# The pages in Chinese: clean roff once preconv has read its UTF-8, with their sections, and the
# command line's page describing every option its help lists, as the English one does.
for page in orvello orvello-stamp; do
  zh_text=$(gzip -dc "$prefix/share/man/zh_CN/man1/$page.1.gz" | groff -k -man -Tutf8 -ww -P -cbou 2>"$work/zh.warn")
  [[ ! -s "$work/zh.warn" ]] || fail "zh_CN $page.1: $(cat "$work/zh.warn")"
  for section in 用法 选项 退出状态 文件; do
    grep -q "^$section" <<<"$zh_text" || fail "zh_CN $page.1 has no $section section"
  done
  for option in $("$prefix/bin/$page" --help | grep -o -- '--[a-z]\+' | sort -u); do
    grep -q -- "$option" <<<"$zh_text" || fail "zh_CN $page.1 does not describe $option"
  done
done

# Man pages: clean roff, and every option the help lists is described.
for page in orvello orvello-stamp; do
  man=$prefix/share/man/man1/$page.1.gz
  warnings=$(gzip -dc "$man" | groff -K utf8 -Tutf8 -man -ww -z 2>&1)  # as man reads it: UTF-8 through preconv
  [[ -z "$warnings" ]] || fail "$page.1: $warnings"
  text=$(gzip -dc "$man" | groff -K utf8 -man -Tutf8 -P -cbou 2>/dev/null)
  for section in SYNOPSIS OPTIONS "EXIT STATUS" FILES; do
    grep -q "^$section" <<<"$text" || fail "$page.1 has no $section section"
  done
  grep -q "Orvello.ini" <<<"$text" || fail "$page.1 does not name the settings file"
  gzip -dc "$man" | grep -q "^\.TH .*\"Orvello $version\"" || fail "$page.1 is not of version $version"
  help=$("$prefix/bin/$page" --help)
  grep -Eq "^(Exit status:|退出状态：)" <<<"$help" || fail "$page --help lists no exit statuses"
  for option in $("$prefix/bin/$page" --help | grep -o -- '--[a-z]\+' | sort -u); do
    grep -q -- "$option" <<<"$text" || fail "$page.1 does not describe $option"
  done
done

for command in exif stamp; do
  grep -Eq "^  $command (PHOTO|照片)" <<<"$("$prefix/bin/orvello-stamp" --help)" ||
    fail "orvello-stamp --help does not list $command"
done

# The installed tool finds its fonts under share/orvello and stamps a photo; without them it
# says so and ends with status 3.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config
mkdir -p "$work/out" "$HOME"
if "$prefix/bin/orvello-stamp" stamp --out "$work/out" "$source/samples/landscape.jpg" \
  >"$work/stamp.log" 2>&1; then
  [[ "$(identify -format '%m %wx%h' "$work/out/PM_landscape.jpg" 2>/dev/null)" == \
    "JPEG $(identify -format '%wx%h' "$source/samples/landscape.jpg")" ]] ||
    fail "stamped photo missing or of another size"
  # The date stamp changes a few thousand pixels well beyond the re-encoding's noise.
  changed=$(compare -metric AE -fuzz 25% "$source/samples/landscape.jpg" \
    "$work/out/PM_landscape.jpg" null: 2>&1)
  [[ "$changed" =~ ^[0-9]+$ && $changed -gt 500 ]] || fail "photo not stamped (changed: $changed)"
else
  cat "$work/stamp.log"
  fail "installed orvello-stamp could not stamp"
fi
mv "$prefix/share/orvello/fonts" "$work/fonts-away"
"$prefix/bin/orvello-stamp" stamp --out "$work/out" "$source/samples/landscape.jpg" \
  >"$work/nofont.log" 2>&1
status=$?
[[ $status -eq 3 ]] && grep -q "未发现所需要的字体文件" "$work/nofont.log" ||
  fail "without fonts: status $status, $(cat "$work/nofont.log")"

if [[ $failures -eq 0 ]]; then
  echo "installed layout: all checks passed"
  exit 0
fi
echo "$failures check(s) failed"
exit 1
