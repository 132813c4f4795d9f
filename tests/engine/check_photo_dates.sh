#!/usr/bin/env bash
# check_photo_dates.sh PROBE FIXTURE_DIR MAKE_FIXTURES_SCRIPT
# The reader's date for every fixture equals exiftool's reading of it, made now.
set -euo pipefail
probe=$1 dir=$2 script=$3
files=()
for f in "$dir"/*; do [[ $f == *.tsv ]] || files+=("$f"); done
[ ${#files[@]} -gt 0 ] || { echo "no fixtures in $dir" >&2; exit 1; }
if diff <(bash "$script" manifest "${files[@]}" | sort) <("$probe" "${files[@]}" | sort); then
  echo "${#files[@]} fixtures: the reader agrees with exiftool"
else
  echo "the reader (>) differs from exiftool (<)" >&2
  exit 1
fi
