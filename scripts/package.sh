#!/usr/bin/env bash
# A plain Release build as a user makes it (no preset, no other option), its tests, its
# installation, and two small applications built against the installed package.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/release
prefix="$PWD/$build/install"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S examples/consumer -B "$build/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$build/consumer"
"$build/consumer/consumer"
# The Qt application against the same package.
cmake -S examples/qt-consumer -B "$build/qt-consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$build/qt-consumer"
QT_QPA_PLATFORM=offscreen "$build/qt-consumer/qt_consumer"
