#!/usr/bin/env bash
# Runs the preview benchmark under Wine on a folder of FILES empty files, named as the list
# benchmark's: one full pass against listing the folder, and the main window's longest wait
# while a template is typed. TEMPLATE "filters" measures a template of filters instead.
#   bench/run_preview_bench.sh [FILES] [BUILD_DIR] [TEMPLATE]   (defaults: 100000, the test build, plain)
set -euo pipefail
exec "$(dirname "$0")/run_on_folder.sh" tarnivo_preview_bench mixed "${1:-100000}" "${2:-}" \
  --template "${3:-plain}" --folder
