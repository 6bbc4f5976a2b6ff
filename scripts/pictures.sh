#!/usr/bin/env bash
# Regenerates the README's pictures of the demo form: the same form at its design size and
# half as large again, drawn by `rescalo render` on the embedded runtime.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target rescalo
out=docs/pictures
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
build/default/rescalo render examples/demo.frm --size 7320x5805 --scale 1.5 -o "$tmp"
mkdir -p "$out"
cp "$tmp/step-01.png" "$out/demo.png"
cp "$tmp/step-02.png" "$out/demo-larger.png"
ls -l "$out"
