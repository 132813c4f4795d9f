# Sourced by the scripts that take pictures of the program's windows on the session's
# display.
#   capture_when_still OUT   waits until the screen is still and not empty, saves it
#                            trimmed to OUT; fails after 30 s

# The screen is black but for the program's windows (no window manager): wait until the
# picture of it is the same twice in a row and not empty, then keep it.
capture_when_still() {  # OUT
  local previous="" current
  for _ in $(seq 1 60); do
    current=$(import -window root -depth 8 rgb:- 2>/dev/null | md5sum)
    if [ "$current" = "$previous" ] &&
       [ "$(import -window root png:- | convert - -trim -format '%w' info: 2>/dev/null)" -gt 1 ]; then
      import -window root png:- | convert - -trim +repage "$1"
      return 0
    fi
    previous=$current
    sleep 0.5
  done
  echo "the window did not appear" >&2
  return 1
}
