#!/usr/bin/env bash
# The user unit passes systemd-analyze verify, with its ExecStart pointed at
# the monitor given (an installed one need not exist yet).
# Usage: check-service.sh UNIT MONITOR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s|^ExecStart=.*|ExecStart=$2|" "$1" >"$work/$(basename "$1")"
mkdir -m 0700 "$work/run"
XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/run} systemd-analyze --user --man=no verify "$work/$(basename "$1")"
