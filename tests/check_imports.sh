#!/usr/bin/env bash
# Checks that a program runs on Windows 2000 and later: every function it
# imports is in tests/windows2000_imports.txt, and its PE header asks for no
# newer operating system or subsystem than 5.0.
#   check_imports.sh PROGRAM.exe
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
program=$1
status=0

imports=$("$here/list_imports.sh" "$program")
[ -n "$imports" ] || { echo "no imports read from $program"; exit 1; }
unknown=$(grep -Fxv -f <(grep -v '^#' "$here/windows2000_imports.txt") <<<"$imports" || true)
if [ -n "$unknown" ]; then
  echo "Imports not known to exist on Windows 2000:"
  echo "$unknown" | sed 's/^/  /'
  status=1
fi

header=$(i686-w64-mingw32-objdump -p "$program")
for field in OSystem Subsystem; do
  major=$(awk -v f="Major${field}Version" '$1 == f { print $2 }' <<<"$header")
  minor=$(awk -v f="Minor${field}Version" '$1 == f { print $2 }' <<<"$header")
  if [ -z "$major" ] || [ "$major" -gt 5 ] || { [ "$major" = 5 ] && [ "$minor" -gt 0 ]; }; then
    echo "The PE header asks for ${field} version $major.$minor; Windows 2000 is 5.0"
    status=1
  fi
done

echo "$(wc -l <<<"$imports") imports from $(cut -d'!' -f1 <<<"$imports" | sort -u | tr '\n' ' ')"
exit "$status"
