#!/usr/bin/env bash
# Runs the command line's run benchmark under Wine on a folder of FILES empty files
# IMG_00001.jpg ... made with native tools, ROUNDS rounds.
#   bench/run_cli_bench.sh [FILES] [ROUNDS] [BUILD_DIR]    (defaults: 2000, 5, the test build)
set -euo pipefail
files=${1:-2000}
exec "$(dirname "$0")/run_on_folder.sh" tarnivo_cli_bench padded "$files" "${3:-}" \
  "$files" --repeat "${2:-5}" --folder
