#!/usr/bin/env bash
# Runs the file-list benchmark under Wine on a folder of FILES empty files made with native
# tools: Wine compares every new name with the whole folder, so making 100 000 files from
# the Windows side would take far longer than the measurement itself.
#   bench/run_list_bench.sh [FILES] [BUILD_DIR]    (defaults: 100000, build/mingw)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
files=${1:-100000}
build=${2:-build/mingw}

cmake --build "$build" --target tarnivo_list_bench >/dev/null
folder=$(mktemp -d /tmp/tarnivo-list-bench.XXXXXX)
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
cleanup() {
  wine_session_stop
  rm -rf "$folder"
}
trap cleanup EXIT

# The names the benchmark itself would create: three in four "IMG_<n>.jpg", the rest
# "DSC<n>.png".
(cd "$folder" && seq 0 $((files - 1)) |
  awk '{ print ($1 % 4 == 3) ? "DSC" $1 ".png" : "IMG_" $1 ".jpg" }' | xargs touch)

wine_session_start "$build"
wine "$build/bin/tarnivo_list_bench.exe" --folder "$(winepath -w "$folder")"
