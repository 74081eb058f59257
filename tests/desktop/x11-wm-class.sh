#!/usr/bin/env bash
# Starts the app on a virtual X server and reads its main window's WM_CLASS,
# which X11 desktops match with the desktop entry's StartupWMClass.
# Usage: x11-wm-class.sh APP APP_ID
set -euo pipefail
app=$1
app_id=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share

xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -euo pipefail
  QT_QPA_PLATFORM=xcb "$1" >/dev/null 2>&1 &
  app=$!
  trap "kill $app 2>/dev/null || true" EXIT
  pattern="^${2//./\\.}\$"
  window=$(timeout 20 xdotool search --sync --onlyvisible --classname "$pattern" | head -n1)
  xprop -id "$window" WM_CLASS
' _ "$app" "$app_id" >"$home/found" 2>"$home/err" || {
  echo "no window of class instance $app_id appeared" >&2
  cat "$home/err" >&2
  exit 1
}
cat "$home/found"
grep -qx "WM_CLASS(STRING) = \"$app_id\", \"Twinsift\"" "$home/found"
