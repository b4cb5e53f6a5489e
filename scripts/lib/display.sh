# Shared by the scripts: gives the processes an X display with a software
# OpenGL renderer, starting Xvfb when no display is set.
export LIBGL_ALWAYS_SOFTWARE=1

ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  # Xvfb picks a free display number itself and writes it to fd 3 once it
  # accepts connections: two scripts starting at once never share a server
  # (the one whose script exits first would take the other's display along).
  # -noreset: by default the server resets when its last client leaves, and a
  # client connecting during that reset is refused ("Failed to open display").
  local numberFile
  numberFile="$(mktemp)"
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 +extension GLX -nolisten tcp 3>"${numberFile}" >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill "${XVFB_PID}" 2>/dev/null || true' EXIT
  for _ in $(seq 1 100); do
    [ -s "${numberFile}" ] && break
    sleep 0.1
  done
  local number
  number="$(tr -d '[:space:]' <"${numberFile}")"
  rm -f "${numberFile}"
  export DISPLAY=":${number}"
  if [ -z "${number}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "Xvfb did not start" >&2
    exit 1
  fi
}
