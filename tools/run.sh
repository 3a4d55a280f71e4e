#!/usr/bin/env bash
# Installs what is missing, builds, and starts Trovik. Without a display the
# program is started under a virtual one (xvfb-run).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/deps.sh"
"$here/tools/build.sh"
exe=${TROVIK_BUILD_DIR:-$here/build}/src/app/trovik
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Trovik under a virtual display." >&2
  exec xvfb-run -a "$exe"
fi
exec "$exe"
