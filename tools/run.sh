#!/usr/bin/env bash
# Builds the program and starts it on FOLDER (a Linux path). Without a display it runs on
# a virtual one, saves a screenshot of the window to SCREENSHOT and closes the program.
#   tools/run.sh [FOLDER] [SCREENSHOT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
folder=${1:-$HOME}
shot=${2:-$root/build/mingw/screenshot.png}

bash tools/setup.sh
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
preset=$(windows_test_preset)  # the 64-bit build where 32-bit programs cannot run
build=build/$preset
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target tarnivo

had_display=${DISPLAY:-}
wine_session_start "$build"
trap wine_session_stop EXIT

win_folder=$(winepath -w "$folder" 2>/dev/null)
if [ -n "$had_display" ]; then
  wine "$build/bin/tarnivo.exe" "$win_folder"
  exit 0
fi
wine "$build/bin/tarnivo.exe" "$win_folder" &
app=$!
# shellcheck source=tools/screen.sh
source tools/screen.sh
status=0
capture_when_still "$shot" && echo "screenshot: $shot" || status=$?
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
exit "$status"
