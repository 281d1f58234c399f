#!/usr/bin/env bash
# Applies (--fix) or checks (--check) .clang-format on every C++ file of the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build')
[ ${#files[@]} -gt 0 ] || exit 0
case "${1:---check}" in
  --fix) clang-format -i "${files[@]}" ;;
  --check)
    if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/format-check.$$; then
      grep -E '^[^ ].*: (error|warning)' /tmp/format-check.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
      rm -f /tmp/format-check.$$
      echo "Run 'make format' to fix." >&2
      exit 1
    fi
    rm -f /tmp/format-check.$$ ;;
  *) echo "usage: $0 --fix|--check" >&2; exit 2 ;;
esac
