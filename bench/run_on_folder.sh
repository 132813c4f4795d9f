#!/usr/bin/env bash
# Runs a benchmark program under Wine on a folder of FILES empty files made with native
# tools: Wine compares every new name with the whole folder, so making 100 000 files from
# the Windows side would take far longer than the measurement itself. The folder's Windows
# path is passed last, after the ARGUMENTS.
#   bench/run_on_folder.sh TARGET NAMES FILES BUILD_DIR [ARGUMENTS...]
# NAMES: "photos" for IMG_<n>.jpg only; "mixed" for three in four IMG_<n>.jpg, the rest
# DSC<n>.png; "padded" for IMG_00001.jpg on (every order agrees on them). An empty BUILD_DIR means the test build (build/mingw, or build/mingw64 where
# 32-bit programs cannot run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
target=$1 names=$2 files=$3 build=${4:-build/$(windows_test_preset)}
shift 4

case $names in
  photos) naming='{ print "IMG_" $1 ".jpg" }' ;;
  padded) naming='{ printf "IMG_%05d.jpg\n", $1 + 1 }' ;;
  mixed) naming='{ print ($1 % 4 == 3) ? "DSC" $1 ".png" : "IMG_" $1 ".jpg" }' ;;
  *) echo "unknown names: $names" >&2; exit 2 ;;
esac

cmake --build "$build" --target "$target" >/dev/null
folder=$(mktemp -d "/tmp/$target.XXXXXX")
cleanup() {
  wine_session_stop
  rm -rf "$folder"
}
trap cleanup EXIT
(cd "$folder" && seq 0 $((files - 1)) | awk "$naming" | xargs touch)

wine_session_start "$build"
wine "$build/bin/$target.exe" "$@" "$(winepath -w "$folder")"
