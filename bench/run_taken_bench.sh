#!/usr/bin/env bash
# Runs the %taken% benchmark under Wine on FILES JPEG photos of 1 to 5 MB: a photo of the
# tests' fixtures with its date, padded to its size as a sparse file (made with native
# tools; the padding reads as zeros).
#   bench/run_taken_bench.sh [FILES] [BUILD_DIR]    (defaults: 2000, the test build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
files=${1:-2000}
build=${2:-build/$(windows_test_preset)}

cmake --build "$build" --target tarnivo_taken_bench >/dev/null
folder=$(mktemp -d /tmp/tarnivo-taken-bench.XXXXXX)
cleanup() {
  wine_session_stop
  rm -rf "$folder"
}
trap cleanup EXIT
photo=tests/engine/photo_dates/jpeg_ii_all.jpg
for i in $(seq 1 "$files"); do
  cp "$photo" "$folder/IMG_$i.jpg"
  truncate -s $(( (1 + i % 5) * 1024 * 1024 )) "$folder/IMG_$i.jpg"
done

wine_session_start "$build"
wine "$build/bin/tarnivo_taken_bench.exe" "$(winepath -w "$folder")"
