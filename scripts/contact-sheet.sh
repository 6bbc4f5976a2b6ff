#!/usr/bin/env bash
# Writes build/contact/: for every form of the corpus (both batches, subfolders included) and
# the examples, one PNG with the embedded runtime's render and the Qt window's screenshot, at
# the size the form was designed at and at 1.5 times it, side by side; index.html shows them all.
# Needs the default build with the Qt host and ImageMagick; no display is needed.
#   scripts/contact-sheet.sh [FORM.frm...]   (default: every form)
# A form whose picture could not be made shows "missing" in its place; build/contact/*.log say why.
set -uo pipefail
cd "$(dirname "$0")/.."
bin=build/default/rescalo
out=build/contact
[ -x "$bin" ] || { echo "build the rescalo target first" >&2; exit 1; }
command -v montage >/dev/null || { echo "needs ImageMagick (montage)" >&2; exit 1; }
mkdir -p "$out"
font=$(fc-match -f '%{file}' sans)  # ImageMagick's default font may not be installed
if [ $# -gt 0 ]; then
  forms=("$@")
else
  # The corpus folder the tests read (RESCALO_CORPUS_DIR), and its batches beside it.
  corpus=${RESCALO_CORPUS_DIR:-../shared/corpus/forms}
  mapfile -t forms < <( (find "$corpus" "$corpus"-[0-9]* -name '*.frm' 2>/dev/null | sort
                         ls examples/*.frm) )
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The Qt screenshots on the offscreen platform with the embedded runtime's screen.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
{
  echo '<!doctype html><meta charset="utf-8"><title>Rescalo contact sheet</title>'
  echo '<style>body{font-family:sans-serif} img{max-width:100%;border:1px solid #ccc}</style>'
  echo '<h1>Embedded runtime and Qt, 1&times; and 1.5&times;</h1>'
} > "$out/index.html"
for form in "${forms[@]}"; do
  name=$(basename "$form" .frm)
  d="$work/$name"
  mkdir -p "$d"
  timeout 60 "$bin" render "$form" -o "$d/r1" >/dev/null 2>"$d/log"
  timeout 60 "$bin" render "$form" --scale 1.5 -o "$d/r15" >/dev/null 2>>"$d/log"
  timeout 120 "$bin" show "$form" --scale 1.5 --screenshot "$d/qt" >/dev/null 2>>"$d/log"
  tiles=()
  for pair in "r1/shown.png:runtime 1x" "qt/step-0.png:Qt 1x" "r15/step-01.png:runtime 1.5x" \
              "qt/step-1.png:Qt 1.5x"; do
    file="$d/${pair%%:*}"
    mkdir -p "$(dirname "$file")"
    [ -f "$file" ] || convert -size 200x60 xc:white -font "$font" -gravity center -annotate 0 "missing" "$file"
    tiles+=(-label "${pair#*:}" "$file")
  done
  montage "${tiles[@]}" -tile 4x1 -geometry +8+8 -background '#f0f0f0' -font "$font" -pointsize 14 \
    -title "$name" "$out/$name.png" 2>>"$d/log" || { echo "$name: montage failed" >&2; continue; }
  printf '<h2>%s</h2><a href="%s.png"><img src="%s.png"></a>\n' "$name" "$name" "$name" \
    >> "$out/index.html"
  cp "$d/log" "$out/$name.log"
  echo "$out/$name.png"
done
