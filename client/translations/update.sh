#!/bin/bash
# Collects the window's texts into client/translations/quarn_en.ts (new texts
# arrive unfinished; texts gone from the code are dropped). Run from anywhere:
#   client/translations/update.sh [OUT.ts]
# The check in CTest runs it into a scratch copy and fails on any unfinished text.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$here/quarn_en.ts}
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
cd "$root"
"$lupdate" -silent -no-obsolete -locations none -source-language zh_CN -target-language en \
  -tr-function-alias translate+=Shown,QT_TRANSLATE_NOOP+=Marked \
  -I "$root" client/ui client/app client/model -ts "$out"
