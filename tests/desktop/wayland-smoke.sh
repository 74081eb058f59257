#!/usr/bin/env bash
# Starts the app in a headless Wayland compositor with Qt's Wayland platform
# and reads the client's side of the protocol: the main window gets the
# desktop file's id as its app id, a title and a first drawn frame, and the
# app prints nothing else: a warning from Qt or QML fails the test.
# Usage: wayland-smoke.sh APP APP_ID
set -euo pipefail
app=$1
app_id=$2

runtime=$(mktemp -d)
weston=
cleanup() {
  [ -n "$weston" ] && kill "$weston" 2>/dev/null && wait "$weston" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
chmod 700 "$runtime"
mkdir -p "$runtime/home"
export XDG_RUNTIME_DIR=$runtime HOME=$runtime/home XDG_DATA_HOME=$runtime/home/.local/share
unset DISPLAY

weston --backend=headless-backend.so --socket=twinsift-test --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do
  [ -S "$runtime/twinsift-test" ] && break
  sleep 0.1
done
if [ ! -S "$runtime/twinsift-test" ]; then
  echo "weston did not start:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi

# The headless compositor has no seat. Qt 6.4's Wayland text input then
# dereferences the missing input device as the first Label is made, so the
# test takes no input method; every real session has a seat.
WAYLAND_DISPLAY=twinsift-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client QT_IM_MODULE=none \
  "$app" >"$runtime/out" 2>"$runtime/err" &
client=$!
# A drawn frame: a buffer attached to a surface and committed after the
# compositor's first configure of the toplevel was acknowledged.
shown=no
for _ in $(seq 200); do
  if grep -q 'xdg_surface@[0-9]*\.ack_configure' "$runtime/err" &&
     grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' "$runtime/err"; then
    shown=yes
    break
  fi
  kill -0 "$client" 2>/dev/null || break
  sleep 0.1
done
# Let a late warning from the first frames arrive before judging.
sleep 1
kill "$client" 2>/dev/null || true
wait "$client" 2>/dev/null || true

fail() {
  echo "$1" >&2
  grep -v '^\[' "$runtime/err" >&2 || true
  exit 1
}
[ "$shown" = yes ] || fail "no window was drawn"
grep -q "xdg_toplevel@[0-9]*\.set_app_id(\"$app_id\")" "$runtime/err" ||
  fail "the toplevel's app id is not $app_id: $(grep -o 'set_app_id([^)]*)' "$runtime/err" || echo none)"
grep -q 'xdg_toplevel@[0-9]*\.set_title("' "$runtime/err" || fail "the window has no title"
# Everything the client printed that is not a protocol message.
if grep -v '^\[' "$runtime/err" | grep -q .; then
  fail "the app printed more than the protocol:"
fi
[ ! -s "$runtime/out" ] || fail "the app printed to standard output: $(cat "$runtime/out")"
echo "window shown under Wayland with app id $app_id"
