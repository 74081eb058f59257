#!/usr/bin/env bash
# Runs a command without the capabilities that let root read any file, so
# permission tests see what an ordinary user would. Non-root users have no
# such capabilities to drop.
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then
  exec setpriv --inh-caps=-dac_override,-dac_read_search \
    --bounding-set=-dac_override,-dac_read_search -- "$@"
fi
exec "$@"
