#!/bin/sh
# The floors as a picture: a Graphviz graph of the product folders, one arrow
# per pair that includes across, labelled with the count of includes. Arrows
# point from the including folder down to the included one. With --all,
# tests, bench, fuzz and tools are drawn too, one box each. Redraw with
#   tools/include_graph.sh | dot -Tsvg -o docs/floors.svg
# Usage: tools/include_graph.sh [--all] [SOURCE_ROOT]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
all=0
if [ "${1:-}" = --all ]; then
  all=1
  shift
fi
edges=$("$here/include_pairs.sh" "${1:-$here/..}" |
  awk -v all=$all '
    function box(folder) {
      if (folder ~ /^(tests|bench|fuzz|tools)(\/|$)/) {
        if (!all) return ""
        sub(/\/.*/, "", folder)
      }
      return folder
    }
    {
      from = box($1); to = box($2)
      if (from != "" && to != "" && from != to) n["\"" from "\" -> \"" to "\""] += $3
    }
    END { for (e in n) print "  " e " [label=" n[e] "];" }' |
  sort)
cat <<GRAPH
digraph floors {
  node [shape=box, fontname="sans"]; edge [fontname="sans", fontsize=10];
  { rank=sink; "core"; }
$edges
}
GRAPH
