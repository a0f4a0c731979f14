#!/bin/sh
# The layer check: every quoted include that names a folder ("core/cards.h")
# must come from the including file's own folder or from one that the floors
# table (floors.txt beside this script) lets that folder use. A folder missing
# from the table fails too, so a new folder gets its floor when it is made.
# Usage: check_layers.sh SOURCE_ROOT
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=${1:-$here/../..}
cd "$root"
find core protocol ai store server client bot web tests bench fuzz tools \
     \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) -print 2>/dev/null |
  sort |
  xargs grep -Hn '^#include "[^"]*/[^"]*"' |
  awk -v table="$here/floors.txt" '
    BEGIN {
      while ((getline line < table) > 0) {
        sub(/#.*/, "", line)
        n = split(line, word, /[ \t]+/)
        first = word[1] == "" ? 2 : 1
        if (n < first) continue
        known[word[first]] = 1
        for (i = first + 1; i <= n; ++i) if (word[i] != "") may[word[first], word[i]] = 1
      }
      bad = 0
    }
    {
      # file:line:#include "folder/name.h"
      split($0, part, ":")
      file = part[1]; at = part[2]
      folder = file; sub(/\/[^\/]*$/, "", folder)
      target = $0; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
      to = target; sub(/\/[^\/]*$/, "", to)
      if (!(folder in known)) {
        if (!(folder in told)) print folder ": no floor in floors.txt"
        told[folder] = 1; bad = 1; next
      }
      if (to != folder && !((folder, to) in may)) {
        print file ":" at ": includes " target ", but " folder " may not use " to
        bad = 1
      }
    }
    END {
      if (bad) { print "layer check: FAILED (floors: " table ")"; exit 1 }
      print "layer check: every include keeps its floor"
    }'
