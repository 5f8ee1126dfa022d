#!/usr/bin/env bash
# Checks the layering of src/: a folder includes only from itself and the folders to its left
# in the order below, and only osdep/ includes POSIX headers. Prints each offence; exit 1 if any.
set -uo pipefail
cd "$(dirname "$0")/.."

order=(osdep subtitle sync external platform shell presentation playback app)
rank() { local i; for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }

status=0
while IFS=: read -r file line text; do
  from=${file#src/}; from=${from%%/*}
  to=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
  [ "$(rank "$to")" -lt 0 ] && continue
  if [ "$(rank "$to")" -gt "$(rank "$from")" ]; then
    echo "$file:$line: $from/ includes from $to/, which comes after it"
    status=1
  fi
done < <(grep -rnE '^#include "[a-z_]+/' src)

posix='<(unistd|fcntl|dirent|signal|pwd|grp|poll|spawn|dlfcn|termios|pthread|sys/[a-z_]+)\.h>'
while IFS= read -r hit; do
  echo "$hit: a POSIX header outside src/osdep/"
  status=1
done < <(grep -rnE "^#include $posix" src --exclude-dir=osdep | cut -d: -f1,2)
exit $status
