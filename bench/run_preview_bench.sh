#!/usr/bin/env bash
# Runs the preview benchmark under Wine on a folder of FILES empty files made with native
# tools (Wine makes files slowly from the Windows side): one full pass against listing the
# folder, and the main window's longest wait while a template is typed.
#   bench/run_preview_bench.sh [FILES] [BUILD_DIR]    (defaults: 100000, the test build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
files=${1:-100000}
build=${2:-build/$(windows_test_preset)}

cmake --build "$build" --target tarnivo_preview_bench >/dev/null
folder=$(mktemp -d /tmp/tarnivo-preview-bench.XXXXXX)
cleanup() {
  wine_session_stop
  rm -rf "$folder"
}
trap cleanup EXIT

# As the list benchmark's: three in four "IMG_<n>.jpg", the rest "DSC<n>.png".
(cd "$folder" && seq 0 $((files - 1)) |
  awk '{ print ($1 % 4 == 3) ? "DSC" $1 ".png" : "IMG_" $1 ".jpg" }' | xargs touch)

wine_session_start "$build"
wine "$build/bin/tarnivo_preview_bench.exe" --folder "$(winepath -w "$folder")"
