#!/usr/bin/env bash
# Builds the program and the simulated unit, starts the unit on a pseudo-terminal and opens the window
# with that unit attached as COM 1, so every command can be tried without hardware.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target orb orbsim

# The unit keeps its EEPROM in this file between runs, like a real unit keeps it when switched off.
unit_eeprom=build/simulated-unit.eep
sim_output=$(mktemp)
build/tools/orbsim --memory 2048 --eeprom "$unit_eeprom" >"$sim_output" &
sim_pid=$!
# Qt wants a private runtime folder; a shell without a login session (root over ssh, a container) has none.
own_runtime_dir=
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  own_runtime_dir=$(mktemp -d)
  export XDG_RUNTIME_DIR=$own_runtime_dir
fi
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; rm -rf "$sim_output" ${own_runtime_dir:+"$own_runtime_dir"}' EXIT

for _ in $(seq 50); do [ -s "$sim_output" ] && break; sleep 0.1; done
ORB_COM1=$(head -n 1 "$sim_output")
export ORB_COM1
echo "Simulated unit (ORB 1.2, 2048 byte EEPROM) attached as COM 1: $ORB_COM1"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # A display number nobody uses, so that the hints below can name it.
  display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  # The display's key, where another shell finds it.
  auth=$PWD/build/xvfb.auth
  echo "No display found: running the window on the virtual X display :$display (xvfb-run); stop it with Ctrl+C."
  echo "To look at it from another shell (the display's key is in $auth):"
  echo "  a picture:  XAUTHORITY=$auth xwd -display :$display -root | convert xwd:- orb.png   (Debian: x11-apps, imagemagick)"
  echo "  live:       x11vnc -display :$display -auth $auth -localhost, then a VNC viewer on localhost:5900 (Debian: x11vnc)"
  xvfb-run -n "$display" -f "$auth" -s "-screen 0 1280x800x24" build/ui/orb "$@"
else
  build/ui/orb "$@"
fi
