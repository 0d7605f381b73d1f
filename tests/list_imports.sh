#!/usr/bin/env bash
# Prints every function a PE file imports, one "DLL!function" a line.
set -euo pipefail
i686-w64-mingw32-objdump -p "$1" | awk '
  /DLL Name:/ { dll = toupper($3); next }
  /^[ \t]*$/ { dll = "" }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll "!" $3 }' | sort -u
