#!/usr/bin/env bash
# run-wayland.sh PROGRAM [ARGS...]
# Runs PROGRAM as a client of a headless sway of its own, with no input
# devices (wayland_pointer gives it a pointer) and one 1280x1024 output. As
# root, sway runs as the unprivileged user nobody, since it refuses root.
# Exits 77, which ctest takes as a skip, when sway is not installed.
set -euo pipefail
command -v sway >/dev/null || { echo "SKIP: sway is not installed"; exit 77; }

compositor=$(mktemp -d)
client=$(mktemp -d)
as=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$compositor"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
printf 'output HEADLESS-1 resolution 1280x1024 position 0 0\n' >"$compositor/config"
XDG_RUNTIME_DIR=$compositor WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as[@]}" sway -c "$compositor/config" >"$client/sway.log" 2>&1 &
sway=$!
trap 'kill $sway 2>/dev/null; wait $sway 2>/dev/null; rm -rf "$compositor" "$client"' EXIT

socket=
for _ in $(seq 100); do
  socket=$(find "$compositor" -maxdepth 1 -type s -name 'wayland-*' | head -n1)
  ipc=$(find "$compositor" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n1)
  [ -n "$socket" ] && [ -n "$ipc" ] && break
  kill -0 $sway 2>/dev/null || break
  sleep 0.1
done
if [ -z "$socket" ]; then
  cat "$client/sway.log"
  echo "sway did not start"
  exit 1
fi

# The client keeps a runtime folder of its own; the sockets are named whole.
# Without Qt's Wayland plugin Qt falls back to offscreen and the program is
# expected to skip.
XDG_RUNTIME_DIR=$client WAYLAND_DISPLAY=$socket SWAYSOCK=$ipc GDK_BACKEND=wayland \
  QT_QPA_PLATFORM="wayland;offscreen" "$@"
