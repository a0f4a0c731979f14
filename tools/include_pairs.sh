#!/bin/sh
# Every quoted include between two folders of the source tree, counted per
# pair: "FROM TO COUNT", one pair a line. A folder is a file's own directory
# (server/net, tests/server); an include names its folder the same way
# ("core/cards.h" is in core). Includes within one folder are left out.
# Usage: tools/include_pairs.sh [SOURCE_ROOT]
set -eu
root=${1:-$(dirname "$0")/..}
cd "$root"
find core protocol ai server client bot web tests bench fuzz tools \
     -name '*.h' -o -name '*.cpp' -o -name '*.h.in' 2>/dev/null |
  sort |
  xargs grep -H '^#include "[^"]*/[^"]*"' |
  sed -E 's@^(.*)/[^/]*:#include "(.*)/[^/]*".*@\1 \2@' |
  awk '$1 != $2 { n[$1 " " $2]++ } END { for (p in n) print p, n[p] }' |
  sort
