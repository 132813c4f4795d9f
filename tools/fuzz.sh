#!/usr/bin/env bash
# Builds the fuzz preset and fuzzes the photo date reader for SECONDS (default 60),
# starting from the seed corpus. New inputs go to build/fuzz/corpus, crashes to
# build/fuzz/artifacts; a crash ends the run with a failure.
#   tools/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}

cmake --preset fuzz
cmake --build --preset fuzz -j2
mkdir -p build/fuzz/corpus build/fuzz/artifacts
build/fuzz/bin/photo_date_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -dict=tests/fuzz/photo_date.dict -artifact_prefix=build/fuzz/artifacts/ \
  build/fuzz/corpus tests/fuzz/photo_date_corpus
