#!/usr/bin/env bash
# Runs the start-up benchmark under Wine: the program on a folder of 6 files and on one of
# FILES empty files "IMG_<n>.jpg", against an empty window of the same size.
#   bench/run_startup_bench.sh [FILES] [BUILD_DIR]    (defaults: 100000, the test build)
set -euo pipefail
exec "$(dirname "$0")/run_on_folder.sh" tarnivo_startup_bench photos "${1:-100000}" "${2:-}" \
  --many
