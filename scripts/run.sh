#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
build/default/rescalo demo --svg build/demo
