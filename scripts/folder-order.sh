#!/usr/bin/env bash
# The folders of src/ in ranks: a folder includes only folders of its own rank or lower ones, the
# simulator only the ground, the documents and itself, and no folders include each other in a
# circle. Fails naming every include against that.
#
#   scripts/folder-order.sh
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A rank=(
  [platform]=1 [codec]=1                          # ground
  [journal]=2 [render]=2                          # documents
  [log]=3 [zelmar]=3 [datecs]=3 [blocks]=3        # protocols
  [link]=4                                        # one interface to either protocol
  [session]=5                                     # sessions for code
  [archive]=6 [collect]=6 [export]=6              # use cases: the archive, the fleet collector, exports
  [app]=7                                         # the window logic
  [gui]=8 [cli]=8 [sim]=8                         # front ends
)

status=0
edges=""
for dir in */; do
  from=${dir%/}
  if [ -z "${rank[$from]:-}" ]; then
    echo "src/$from: a folder without a rank (add it to scripts/folder-order.sh)"
    status=1
    continue
  fi
  while IFS=: read -r file to; do
    [ "$to" = "$from" ] && continue
    edges+="$from $to"$'\n'
    if [ -z "${rank[$to]:-}" ]; then
      echo "src/$file includes $to/, a folder without a rank"
      status=1
    elif [ "$from" = sim ] && [ "${rank[$to]}" -gt 2 ]; then
      echo "src/$file includes $to/: the simulator shares only the ground and the documents"
      status=1
    elif [ "${rank[$to]}" -gt "${rank[$from]}" ]; then
      echo "src/$file includes $to/ (rank ${rank[$to]}) from $from/ (rank ${rank[$from]})"
      status=1
    fi
  done < <(grep -oE '^#include "[a-z_]+/' "$from"/*.h "$from"/*.cpp 2>/dev/null |
    sed -E 's|^[a-z_]+/([^:]+):#include "([a-z_]+)/$|'"$from"'/\1:\2|' | sort -u)
done
# A circle among folders of one rank.
if ! sort -u <<<"$edges" | tsort >/dev/null 2>/tmp/folder-order.$$; then
  echo "folders include each other in a circle:"
  cat /tmp/folder-order.$$
  status=1
fi
rm -f /tmp/folder-order.$$
[ "$status" -eq 0 ] && echo "folder order: every include goes to its own rank or a lower one"
exit "$status"
