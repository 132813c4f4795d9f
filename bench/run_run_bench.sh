#!/usr/bin/env bash
# Runs the rename run and undo benchmark under Wine on a folder of FILES empty files made
# with native tools (Wine compares every new name with the whole folder, so files made
# from the Windows side cost time for nothing).
#   bench/run_run_bench.sh [FILES] [ROUNDS] [BUILD_DIR]    (defaults: 2000, 5, the test build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
files=${1:-2000}
rounds=${2:-5}
build=${3:-build/$(windows_test_preset)}

cmake --build "$build" --target tarnivo_run_bench >/dev/null
folder=$(mktemp -d /tmp/tarnivo-run-bench.XXXXXX)
cleanup() {
  wine_session_stop
  rm -rf "$folder"
}
trap cleanup EXIT
# The names the benchmark works on: IMG_00001.jpg ... (zero-padded, so every order agrees).
(cd "$folder" && seq -f 'IMG_%05g.jpg' 1 "$files" | xargs touch)

wine_session_start "$build"
wine "$build/bin/tarnivo_run_bench.exe" "$files" --repeat "$rounds" --folder "$(winepath -w "$folder")"
