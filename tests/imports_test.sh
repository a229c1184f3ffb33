#!/usr/bin/env bash
# Checks that each executable imports only DLLs that every Windows has.
set -euo pipefail
objdump=$1
shift
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|COMCTL32|WININET|msvcrt)\.dll$'
status=0
for exe in "$@"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$exe"): $(echo $dlls)"
  while read -r dll; do
    if ! [[ $dll =~ $allowed ]]; then
      echo "  imports $dll, which is not a system DLL" >&2
      status=1
    fi
  done <<<"$dlls"
done
exit $status
