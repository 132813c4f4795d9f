#!/usr/bin/env bash
# Runs the start-up benchmark under Wine: the program on a folder of 6 files and on one of
# FILES empty files (made with native tools, which Wine cannot match for speed), against
# an empty window of the same size.
#   bench/run_startup_bench.sh [FILES] [BUILD_DIR]    (defaults: 100000, the test build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
files=${1:-100000}
build=${2:-build/$(windows_test_preset)}

cmake --build "$build" --target tarnivo_startup_bench >/dev/null
folder=$(mktemp -d /tmp/tarnivo-startup-bench.XXXXXX)
cleanup() {
  wine_session_stop
  rm -rf "$folder"
}
trap cleanup EXIT
(cd "$folder" && seq 0 $((files - 1)) | awk '{ print "IMG_" $1 ".jpg" }' | xargs touch)

wine_session_start "$build"
wine "$build/bin/tarnivo_startup_bench.exe" --many "$(winepath -w "$folder")"
