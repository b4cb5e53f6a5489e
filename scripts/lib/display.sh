# Shared by the scripts: gives the processes an X display with a software
# OpenGL renderer, starting Xvfb when no display is set.
export LIBGL_ALWAYS_SOFTWARE=1

ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  local number=99
  while [ -e "/tmp/.X${number}-lock" ]; do number=$((number + 1)); done
  Xvfb ":${number}" -screen 0 1280x1024x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill "${XVFB_PID}" 2>/dev/null || true' EXIT
  export DISPLAY=":${number}"
  for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return
    sleep 0.1
  done
  echo "Xvfb did not start on ${DISPLAY}" >&2
  exit 1
}
