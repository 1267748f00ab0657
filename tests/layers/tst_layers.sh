#!/usr/bin/env bash
# scripts/check-layers on a copy of the sources: it passes as they are, and fails on a link, an
# include or a second library that breaks the layers' order.
# Usage: tst_layers.sh SOURCE-DIR
set -euo pipefail
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  (cd "$src" && tar --exclude='./build*' --exclude=./.git --exclude=./docs --exclude=./examples -cf - .) |
    tar -xf - -C "$work/tree"
}
failed=0
expect() { # rc-wanted text-wanted description
  local rc=0
  "$src/scripts/check-layers" --root "$work/tree" >"$work/out" 2>&1 || rc=$?
  if [ "$rc" -ne "$1" ] || ! grep -qF -- "$2" "$work/out"; then
    echo "FAILED: $3 (exit $rc)"; cat "$work/out"; failed=$((failed + 1))
  else
    echo "ok: $3"
  fi
}
copy
expect 0 "0 problems" "the sources as they are"
copy
sed -i 's/LINKS Quorvel::Common Qt6::Core)/LINKS Quorvel::Planner Quorvel::Common Qt6::Core)/' \
  "$work/tree/control/core/CMakeLists.txt"
expect 1 "target quorvel_core (control/core) links quorvel_planner (control/planner), added after it" \
  "a link to a layer above"
copy
sed -i '1a #include "printpreview.h"' "$work/tree/control/render/yeardrawing.cpp"
expect 1 "control/render/yeardrawing.cpp includes printpreview.h (control/print), added after it" \
  "an include of a layer above"
copy
printf '#pragma once\n' >"$work/tree/tools/toolonly.h"
sed -i '1a #include "toolonly.h"' "$work/tree/setup/main.cpp"
expect 1 "setup/main.cpp includes toolonly.h (tools), added after it" "a program including a later folder"
copy
printf 'quorvel_add_library(quorvel_extra Extra\n  SOURCES extra.cpp\n  LINKS Qt6::Core)\n' \
  >>"$work/tree/control/core/CMakeLists.txt"
expect 1 "control/core declares 2 libraries" "two libraries in one folder"
copy
sed -i '1a #include "icalitem_p.h"' "$work/tree/setup/versionmerge.cpp"
expect 1 "setup/versionmerge.cpp includes icalitem_p.h, private to store" "a private header of another folder"
copy
sed -i '1a #include <libical/ical.h>' "$work/tree/setup/versionmerge.cpp"
expect 1 "setup/versionmerge.cpp includes libical" "libical outside the store"
echo "$((7 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
