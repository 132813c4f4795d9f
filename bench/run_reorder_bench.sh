#!/usr/bin/env bash
# Runs the reorder benchmark under Wine: a shift and a rotation of FILES files through the
# window against bare MoveFileW loops in their working order, ROUNDS rounds. The benchmark
# makes its files itself (the rotation's need their dates set).
#   bench/run_reorder_bench.sh [FILES] [ROUNDS] [BUILD_DIR]    (defaults: 2000, 5, the test build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
build=${3:-build/$(windows_test_preset)}
cmake --build "$build" --target tarnivo_reorder_bench >/dev/null
trap wine_session_stop EXIT
wine_session_start "$build"
wine "$build/bin/tarnivo_reorder_bench.exe" "${1:-2000}" --repeat "${2:-5}"
