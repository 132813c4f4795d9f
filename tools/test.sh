#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the Windows build under Wine, then the engine's pure code natively under ASan + UBSan,
# then the fuzz targets' seed corpora replayed (clang, libFuzzer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh

# The program: one 32-bit GUI executable.
cmake --preset mingw
cmake --build --preset mingw
file build/mingw/bin/tarnivo.exe | grep -q 'PE32 executable (GUI) Intel 80386' ||
  { echo "build/mingw/bin/tarnivo.exe is not a 32-bit Windows GUI program" >&2; exit 1; }

log_dir=$(mktemp -d)
trap 'rm -rf "$log_dir"' EXIT

# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
preset=$(windows_test_preset)
if [ "$preset" != mingw ]; then
  echo "This machine cannot run 32-bit programs: the Windows tests run on the 64-bit build."
  cmake --preset "$preset"
  cmake --build --preset "$preset"
fi
wine_session_start "build/$preset"
trap 'wine_session_stop; rm -rf "$log_dir"' EXIT
set +e
ctest --preset "$preset" 2>&1 | tee "$log_dir/windows.log"
windows_status=${PIPESTATUS[0]}
set -e
wine_session_stop
trap 'rm -rf "$log_dir"' EXIT

# Pictures of the idle window, the running state and the folder chooser, for people to
# look at (build/mingw/screenshots/). A window that does not appear fails the run.
set +e
bash tools/screenshots.sh "build/$preset"
screenshots_status=$?
set -e

cmake --preset native-asan
cmake --build --preset native-asan
set +e
ctest --preset native-asan 2>&1 | tee "$log_dir/native.log"
native_status=${PIPESTATUS[0]}
set -e

cmake --preset fuzz
cmake --build --preset fuzz
set +e
ctest --preset fuzz 2>&1 | tee "$log_dir/fuzz.log"
fuzz_status=${PIPESTATUS[0]}
set -e

# One closing line for all runs: test programs passed and failed.
count() { sed -n "s/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p" "$1" | tail -n 1; }
read -r windows_failed windows_total < <(count "$log_dir/windows.log" || echo "1 1")
read -r native_failed native_total < <(count "$log_dir/native.log" || echo "1 1")
read -r fuzz_failed fuzz_total < <(count "$log_dir/fuzz.log" || echo "1 1")
failed=$((${windows_failed:-1} + ${native_failed:-1} + ${fuzz_failed:-1}))
total=$((${windows_total:-1} + ${native_total:-1} + ${fuzz_total:-1}))
echo "$((total - failed)) passed, $failed failed"
[ "$screenshots_status" -eq 0 ] || echo "screenshots failed" >&2
[ "$windows_status" -eq 0 ] && [ "$native_status" -eq 0 ] && [ "$fuzz_status" -eq 0 ] &&
  [ "$screenshots_status" -eq 0 ] && [ "$failed" -eq 0 ]
