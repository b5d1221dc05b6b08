#!/usr/bin/env bash
# Each manual page formats without a warning, and man's index finds its name.
set -euo pipefail
for page in "$@"; do
    warnings=$(groff -ww -man -z "$page" 2>&1)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
    lexgrog "$page" | grep -q " - " || { echo "$page: no NAME section lexgrog reads"; exit 1; }
done
