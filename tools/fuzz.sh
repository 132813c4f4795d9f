#!/usr/bin/env bash
# Builds the fuzz preset and fuzzes one target for SECONDS (default 60), starting from its
# seed corpus: photo_date (the photo date reader, the default) or filter_line (the filter
# line's grammar, compilation and application). New inputs go to build/fuzz/corpus-TARGET,
# crashes to build/fuzz/artifacts; a crash ends the run with a failure.
#   tools/fuzz.sh [SECONDS] [TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
target=${2:-photo_date}

cmake --preset fuzz
cmake --build --preset fuzz -j2
mkdir -p "build/fuzz/corpus-$target" build/fuzz/artifacts
case $target in
  photo_date) options=(-max_len=4096 -dict=tests/fuzz/photo_date.dict) ;;
  filter_line) options=(-max_len=1024 -dict=tests/fuzz/filter_line.dict) ;;
  *) echo "unknown target: $target" >&2; exit 2 ;;
esac
"build/fuzz/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=10 "${options[@]}" \
  -artifact_prefix=build/fuzz/artifacts/ "build/fuzz/corpus-$target" "tests/fuzz/${target}_corpus"
