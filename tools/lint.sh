#!/usr/bin/env bash
# The tree's lint: every C++ file laid out as .clang-format says, and
# clang-tidy (the checks in .clang-tidy) silent over the product code.
# Needs a configured and built tree for its compile_commands.json and the
# sources Qt's moc generates.
#
# usage: tools/lint.sh BUILD_DIR [JOBS]
set -u -o pipefail
BUILD=${1:?usage: tools/lint.sh BUILD_DIR [JOBS]}
JOBS=${2:-2}
cd "$(dirname "$0")/.."
ROOT=$(pwd)
# The product's folders; tests, benchmarks and fuzz targets are not held to clang-tidy.
PRODUCT='core|protocol|server|client|bot|ai|store|tools'
status=0

echo "== clang-format"
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
  echo "clang-format: the files above are not laid out as .clang-format says (make format)"
  status=1
fi

echo "== clang-tidy"
log=$(mktemp "${TMPDIR:-/tmp}/quarn-tidy.XXXXXX")
trap 'rm -f "$log"' EXIT
# Each file's result is kept (tools/tidy_cached.py says by what), so only
# the files a change reaches are read again.
# Headers are read through the links each library's include folder holds.
INCLUDES="$(realpath "$BUILD")/include/[^/]+"
python3 tools/tidy_cached.py "$BUILD" "$JOBS" "^$ROOT/($PRODUCT)/" "^($ROOT|$INCLUDES)/($PRODUCT)/" \
  >"$log" 2>&1
tidy=$?
# Each finding once, though a header's shows up in every file that includes it.
findings=$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '^/.*: (warning|error): ' | sort -u)
count=$(grep -c . <<<"$findings")
if ((count > 0)); then
  echo "$findings"
  echo "clang-tidy: $count findings"
  status=1
elif ((tidy != 0)); then
  cat "$log"
  echo "clang-tidy failed"
  status=1
else
  echo "clang-tidy: no findings"
fi
exit $status
