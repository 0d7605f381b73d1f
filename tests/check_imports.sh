#!/usr/bin/env bash
# Checks that a program runs on Windows 2000 and later: every function it
# imports is in tests/windows2000_imports.txt, and its PE header asks for no
# newer operating system or subsystem than 5.0. Also that nothing but
# KERNEL32, USER32 and msvcrt is bound to it: Windows takes those from the
# system folder whatever lies beside the program, and everything else is
# loaded at run time, from there only. Delay imports, which this check can't
# read, must not be there at all.
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

bound=$(cut -d'!' -f1 <<<"$imports" | sort -u | grep -vx -e KERNEL32.DLL -e USER32.DLL -e MSVCRT.DLL || true)
if [ -n "$bound" ]; then
  echo "Libraries bound to the program that a DLL beside it could stand in for: $(xargs <<<"$bound")"
  status=1
fi

header=$(i686-w64-mingw32-objdump -p "$program")
delay=$(awk '/Delay Import Directory/ { print $3 $4 }' <<<"$header")
if [ "$delay" != 0000000000000000 ]; then
  echo "The program has delay imports ($delay): list and check them before allowing them"
  status=1
fi
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
