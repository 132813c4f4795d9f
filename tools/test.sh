#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the Windows build under Wine, then the engine's pure code natively under ASan + UBSan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh

cmake --preset mingw
cmake --build --preset mingw

# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
wine_session_start build/mingw
trap wine_session_stop EXIT
ctest --preset mingw
wine_session_stop
trap - EXIT

cmake --preset native-asan
cmake --build --preset native-asan
ctest --preset native-asan
