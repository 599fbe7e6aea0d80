#!/usr/bin/env bash
# The program must run on jemalloc with huge pages and one arena: without
# them a big diagram's generation spends half its time in page faults, and
# nothing else would notice the allocator silently missing (a linker that
# drops libraries nobody calls by name, a lost setting).
# Usage: allocator-test.sh PROGRAM
set -euo pipefail
program="$1"
# jemalloc prints its settings at exit when asked (nothing else reads this
# variable); the program's own must show.
stats=$(MALLOC_CONF=stats_print:true "$program" '/?' 2>&1 >/dev/null)
status=0
for want in 'opt.thp: "always"' 'opt.narenas: 1'; do
  if ! grep -qF "$want" <<<"$stats"; then
    echo "the program's allocator does not report $want (is it linked with jemalloc?)" >&2
    status=1
  fi
done
exit $status
