#!/usr/bin/env bash
# Fails when a C++ file of the project does not follow .clang-format; with --fix, formats them instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/lorvane-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/lorvane-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
  rm -f /tmp/lorvane-format.$$
  echo "run scripts/check-format.sh --fix" >&2
  exit 1
fi
rm -f /tmp/lorvane-format.$$
echo "format: ${#files[@]} files follow .clang-format"
