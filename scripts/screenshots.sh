#!/usr/bin/env bash
# Writes a picture of each tab of the property sheet, open on the demo form's Rescalo control,
# into docs/ (sheet-<Page>.png). Needs the default build with the Qt host; no display needed.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target rescalo
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/default/rescalo design examples/demo.frm --screenshots docs
