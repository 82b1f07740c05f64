#!/usr/bin/env bash
# Installs what is missing, builds in Release and runs the demo: a new
# database shown as its two trees.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
velkor_install_missing

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF
cmake --build build-release -j "$(nproc)"

echo "A new database, as velkor-cli shows it:"
./build-release/cli/velkor-cli show --new
