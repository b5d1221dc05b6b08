#!/usr/bin/env bash
# Installs what is missing, builds the program (not the tests) and starts it;
# the program starts the monitor when none runs yet.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vantrel-program
exec build/bin/vantrel-config
