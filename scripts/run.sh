#!/usr/bin/env bash
# Installs what is missing, builds the program, starts the monitor when none
# runs yet, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

# "flags" answers only when a monitor is up.
if ! build/bin/vantrel-monitor flags >/dev/null 2>&1; then
    nohup build/bin/vantrel-monitor >/dev/null 2>&1 &
    for _ in $(seq 50); do
        build/bin/vantrel-monitor flags >/dev/null 2>&1 && break
        sleep 0.1
    done
fi
exec build/bin/vantrel-config
