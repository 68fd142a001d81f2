#!/usr/bin/env bash
# Installs what is needed, builds, and runs Lorvane on the shipped default installation.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
exec "$root/build/src/cli/lorvane-cli" --home "$root/data" info "$root/data/donnees/Modeles/Exemples/disque.mdl"
