#!/usr/bin/env bash
# Generates every example diagram in every code style that applies to it and
# compiles each module with gcc's strictest C99 settings. A diagram whose
# states call child machines only makes sense as one hierarchical module; a
# diagram without children also gets the three flat styles.
# Usage: compile-examples.sh PROGRAM SOURCE_DIR
set -euo pipefail
program=$1
source_dir=$2
examples="$source_dir/examples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVANE_LOG_DIR="$work/log" TMPDIR="$work"

# diagram (relative to examples/) -> switches
declare -A styles=(
  [lamp.fsm]="/CS /CP /CA /CH"
  [traffic_light.fsm]="/CS /CP /CA /CH"
  [washer/Washer.fsm]="/CH"
  [washer/Door.fsm]="/CS /CP /CA /CH"
  [washer/Washer/Drum.fsm]="/CS /CP /CA /CH"
)

failures=0
# Every example must be listed, so that a new one cannot be left out.
while IFS= read -r diagram; do
  if [ -z "${styles[$diagram]+set}" ]; then
    echo "FAIL: examples/$diagram is not listed in $0"
    failures=$((failures + 1))
  fi
done < <(cd "$examples" && find . -name '*.fsm' | sed 's|^\./||' | sort)

for diagram in "${!styles[@]}"; do
  for switch in ${styles[$diagram]}; do
    out="$work/$(echo "$diagram$switch" | tr '/.' '__')"
    mkdir -p "$out"
    if ! "$program" "$examples/$diagram" "$switch" "/O$out" >"$out/stdout" 2>&1; then
      echo "FAIL: orvane examples/$diagram $switch"; cat "$out/stdout"
      failures=$((failures + 1)); continue
    fi
    module=$(find "$out" -name '*.c' | head -1)
    if [ -z "$module" ]; then
      echo "FAIL: examples/$diagram $switch wrote no C module"
      failures=$((failures + 1)); continue
    fi
    # Only the warnings the generated form itself makes unavoidable are off:
    # state functions of the pointer styles all take the machine's parameter,
    # and the pointer array carries a placement pragma for ROM.
    flags=(-std=c99 -Wall -Wextra -pedantic -Werror)
    case "$switch" in
      /CP) flags+=(-Wno-unused-parameter -Wno-unused-function) ;;
      /CA) flags+=(-Wno-unused-parameter -Wno-unused-function -Wno-unknown-pragmas) ;;
    esac
    if gcc "${flags[@]}" -I"$examples/$(dirname "$diagram")" -I"$examples/washer" \
         -c "$module" -o "$out/module.o" 2>"$out/gcc"; then
      echo "ok: examples/$diagram $switch"
    else
      echo "FAIL: examples/$diagram $switch does not compile:"; cat "$out/gcc"
      failures=$((failures + 1))
    fi
  done
done
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
