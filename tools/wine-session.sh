# Sourced by the scripts: a Wine session of the project's own, under a build folder.
#   wine_session_start BUILD_DIR   sets the environment, starts Xvfb when there is no
#                                  display, creates the prefix once, keeps one wineserver
#   wine_session_stop              stops exactly that wineserver and that Xvfb
#   windows_test_preset            "mingw", or "mingw64" on a machine whose kernel cannot
#                                  run 32-bit programs (Wine's 32-bit loader then fails
#                                  with "Exec format error"; some virtual machines)

windows_test_preset() {
  if /lib/ld-linux.so.2 --help >/dev/null 2>&1; then echo mingw; else echo mingw64; fi
}

wine_session_start() {
  local build_dir
  build_dir=$(cd "$1" && pwd)
  unset LC_ALL LC_CTYPE
  export LANG=zh_CN.UTF-8      # ANSI code page 936, as on the target systems
  export WINEPREFIX="$build_dir/wineprefix"
  # A 64-bit test build (machines that cannot run 32-bit programs) needs a 64-bit prefix.
  # "wine" starts the 32-bit loader whenever it is installed, so a 64-bit session puts
  # wrappers for the 64-bit one first on PATH (winepath and wineboot go through them too).
  if grep -q "x86_64-w64-mingw32" "$build_dir/CMakeCache.txt" 2>/dev/null; then
    export WINEARCH=win64
    mkdir -p "$build_dir/wine64-bin"
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$build_dir/wine64-bin/$name"
      chmod +x "$build_dir/wine64-bin/$name"
    done
    _tarnivo_saved_path=$PATH
    export PATH="$build_dir/wine64-bin:$PATH"
  else
    export WINEARCH=win32
  fi
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  _tarnivo_xvfb_pid=""
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _tarnivo_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  # Without a window manager, Wine waits 2 s for one whenever a "managed" top-level
  # window goes away; unmanaged windows close at once.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  wineserver -p >/dev/null 2>&1 || true
  # Start the prefix's background services now, with their output detached: started by a
  # later test program they would inherit its output pipe and hold it open.
  wine cmd /c exit >/dev/null 2>&1 || true
  _tarnivo_wineprefix="$WINEPREFIX"
}

wine_session_stop() {
  if [ -n "${_tarnivo_wineprefix:-}" ]; then
    WINEPREFIX="$_tarnivo_wineprefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$_tarnivo_wineprefix" wineserver -w >/dev/null 2>&1 || true
    _tarnivo_wineprefix=""
  fi
  if [ -n "${_tarnivo_saved_path:-}" ]; then
    export PATH=$_tarnivo_saved_path
    _tarnivo_saved_path=""
  fi
  if [ -n "${_tarnivo_xvfb_pid:-}" ]; then
    kill "$_tarnivo_xvfb_pid" >/dev/null 2>&1 || true
    wait "$_tarnivo_xvfb_pid" 2>/dev/null || true
    _tarnivo_xvfb_pid=""
    unset DISPLAY  # it named the display that just went away
  fi
}
