#!/usr/bin/env bash
# Saves pictures of the window for people to look at, under BUILD_DIR/screenshots/:
#   idle.png     tarnivo.exe started as a user would, on a folder of a few files
#   running.png  the same window in its running state
#   preview.png  the preview window (F5) beside it
#   chooser.png  the folder chooser over the window
# The running state, the preview and the chooser are shown by tarnivo_window_shots.exe,
# which creates the real window in its own process and drives it (the program has no
# switch for that).
#   tools/screenshots.sh [BUILD_DIR]     (default build/mingw, already built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$(cd "${1:-build/mingw}" && pwd)
shots="$build/screenshots"
for exe in tarnivo.exe tarnivo_window_shots.exe; do
  [ -f "$build/bin/$exe" ] || { echo "missing $build/bin/$exe: build first" >&2; exit 1; }
done
mkdir -p "$shots"
temp=$(mktemp -d)

# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
# shellcheck source=tools/screen.sh
source tools/screen.sh
wine_session_start "$build"
app=""
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  wine_session_stop
  rm -rf "$temp"
}
trap cleanup EXIT

# A program folder of its own (the program keeps config.ini beside itself) and a folder
# of a few files.
mkdir -p "$temp/program" "$temp/照片"
cp "$build/bin/tarnivo.exe" "$temp/program/"
for name in IMG_0001.jpg IMG_0002.jpg IMG_0003.jpg 海边日落.jpg 生日聚会.JPG notes.txt; do
  printf 'x' >"$temp/照片/$name"
done
work=$(winepath -w "$temp/照片")

wine "$temp/program/tarnivo.exe" "$work" >/dev/null 2>&1 &
app=$!
capture_when_still "$shots/idle.png"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
app=""

wine "$build/bin/tarnivo_window_shots.exe" "$(winepath -w "$temp")" "$work"
for scene in running preview chooser; do
  [ -f "$temp/$scene.bmp" ] || { echo "no $scene picture" >&2; exit 1; }
  convert "$temp/$scene.bmp" "$shots/$scene.png"
done
echo "screenshots: $shots"
