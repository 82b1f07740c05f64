#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the desktop program
# with a simulated panel answering on COM1, so that "Загрузить из ППК" and
# "Записать в ППК" work at once. Without a display it runs the terminal demo
# instead: an example database built, written to the simulator, read back
# and compared.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
velkor_install_missing

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF
cmake --build build-release -j "$(nproc)"

bin=build-release
work=$(mktemp -d)
sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
  fi
}
trap 'stop_sim; rm -rf "$work"' EXIT

# The simulator on a pseudo-terminal; COM1 is mapped to it.
start_sim() {
  "$bin/sim/velkor-panel-sim" --pty-file "$work/pty" --report "$work/sim-report.json" "$@" &
  sim_pid=$!
  for _ in $(seq 200); do
    [ -s "$work/pty" ] && break
    sleep 0.05
  done
  if [ ! -s "$work/pty" ]; then
    echo "The panel simulator did not start." >&2
    exit 1
  fi
  VELKOR_COM1=$(cat "$work/pty")
  export VELKOR_COM1
}

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/src/app/velkor" ]; then
  start_sim
  echo "A simulated panel answers on COM1 ($VELKOR_COM1); it stops when the window closes."
  "$bin/src/app/velkor" /com1
  exit 0
fi

echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): the terminal demo instead."
cli="$bin/cli/velkor-cli"
example=examples/small-office.dcf
start_sim --copy-delay 500
echo "== building $example"
"$cli" build "$example" -o "$work/built.rom" --log "$work/built.log"
echo "== writing it into the simulated panel on COM1"
"$cli" panel write --port COM1 "$work/built.rom"
echo "== reading the panel back"
"$cli" panel read --port COM1 -o "$work/read.rom"
echo "== comparing what was built with what the panel holds"
# Byte 8063 is the check byte that the write transfer adds; the built file
# leaves it to the transfer.
if cmp -s -n 8063 "$work/built.rom" "$work/read.rom"; then
  echo "The panel holds the image that was built."
else
  "$cli" diff "$work/built.rom" "$work/read.rom" || true
  echo "The panel's image differs from the one built." >&2
  exit 1
fi
