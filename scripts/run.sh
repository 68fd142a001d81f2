#!/usr/bin/env bash
# Installs what is needed, builds, and starts Lorvane on the shipped default installation.
# Arguments go to the program (for example "debug", or a document to open).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No desktop session to show the windows on. To try the program without one:" >&2
  echo "  xvfb-run -a -s '-screen 0 1600x1000x24' $root/build/src/app/lorvane --home $root/data" >&2
  exit 1
fi
exec "$root/build/src/app/lorvane" --home "$root/data" "$@"
