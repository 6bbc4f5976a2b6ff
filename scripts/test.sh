#!/usr/bin/env bash
# Builds and runs every test. With "sanitize", under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
