#!/usr/bin/env bash
# Runs the file-list benchmark under Wine on a folder of FILES empty files, named as the
# benchmark itself would name them: three in four "IMG_<n>.jpg", the rest "DSC<n>.png".
#   bench/run_list_bench.sh [FILES] [BUILD_DIR]    (defaults: 100000, the test build)
set -euo pipefail
exec "$(dirname "$0")/run_on_folder.sh" tarnivo_list_bench mixed "${1:-100000}" "${2:-}" --folder
