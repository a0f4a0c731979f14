#!/usr/bin/env bash
# Makes the Debian packages from the programs already built, unpacks them and
# checks that lintian finds no errors in them, that quarnd's package pulls no
# widget or GUI libraries, and that each file is where a Debian system looks
# for it: programs
# that answer --version with the project's version, desktop entries whose
# program and icon come in the same package, the icons, manual pages that tell
# of every option the program lists, and a systemd unit that systemd-analyze
# accepts (where systemd-analyze exists).
#
# usage: check_packages.sh BUILD_DIR VERSION
set -u
shopt -s nullglob
BUILD=$1
VERSION=$2
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quarn-packages.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1; then
  cat "$WORK/cpack.log"
  exit 1
fi

packages="quarn quarn-server quarn-server-console"
declare -A programs=([quarn]="Quarn quarn-bot" [quarn-server]="quarnd"
  [quarn-server-console]="QuarnServer")
declare -A files=(
  [quarn]="usr/share/applications/quarn.desktop"
  [quarn-server]="usr/lib/systemd/system/quarnd.service
                 usr/share/quarn/web/index.html usr/share/quarn/web/app.js usr/share/quarn/web/quarn.wasm"
  [quarn-server-console]="usr/share/applications/quarn-server.desktop"
)
declare -A icon=([quarn]=quarn [quarn-server-console]=quarn-server)

for package in $packages; do
  deb="$WORK/out/${package}_${VERSION}_$(dpkg --print-architecture).deb"
  if [[ ! -f $deb ]]; then
    fail "no package $(basename "$deb")"
    continue
  fi
  [[ $(dpkg-deb -f "$deb" Package) == "$package" ]] || fail "$deb is not named $package"
  [[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "$package is not in section games"
  depends=$(dpkg-deb -f "$deb" Depends)
  grep -q libqt6core6 <<<"$depends" || fail "$package does not depend on Qt"
  if [[ $package == quarn-server ]] && grep -qE 'libqt6(widgets|gui)' <<<"$depends"; then
    fail "quarn-server pulls widget libraries: $depends"
  fi
  if command -v lintian >/dev/null; then
    # Errors fail; warnings and notes are shown.
    report=$(lintian --tag-display-limit 0 "$deb" 2>&1)
    [[ -z $report ]] || echo "$report"
    grep -q '^E: ' <<<"$report" && fail "lintian finds errors in $package"
  else
    echo "lintian is not installed: $package is not checked by it"
  fi
  root="$WORK/root-$package"
  dpkg-deb -x "$deb" "$root"
  for file in copyright changelog.gz; do
    [[ -f $root/usr/share/doc/$package/$file ]] || fail "$package lacks /usr/share/doc/$package/$file"
  done

  for program in ${programs[$package]}; do
    binary="$root/usr/games/$program"
    [[ -x $binary ]] || { fail "$package lacks /usr/games/$program"; continue; }
    answer=$("$binary" --version 2>&1)
    [[ $answer == "$program $VERSION" ]] || fail "$program --version says '$answer'"
  done
  for file in ${files[$package]}; do
    [[ -f $root/$file ]] || fail "$package lacks /$file"
  done
  if [[ -n ${icon[$package]:-} ]]; then
    for size in 48 64 128 256; do
      png="$root/usr/share/icons/hicolor/${size}x$size/apps/${icon[$package]}.png"
      file -b "$png" 2>/dev/null | grep -q "PNG image data, $size x $size" ||
        fail "$package lacks a $size-pixel icon ${icon[$package]}.png"
    done
  fi

  for entry in "$root"/usr/share/applications/*.desktop; do
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    name=$(sed -n 's/^Icon=//p' "$entry")
    [[ -x $root/usr/games/$exec ]] || fail "$(basename "$entry") starts '$exec', not in $package"
    [[ $name == "${icon[$package]}" ]] || fail "$(basename "$entry") shows icon '$name'"
    if command -v desktop-file-validate >/dev/null; then
      desktop-file-validate "$entry" || fail "$(basename "$entry") is not a valid desktop entry"
    fi
  done

  for page in "$root"/usr/share/man/man6/*.6.gz; do
    warnings=$(zcat "$page" | preconv -e utf-8 | groff -man -Tutf8 -ww -z 2>&1)
    [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
  done
  # Every option a program lists in its --help has its place in the manual page.
  for program in ${programs[$package]}; do
    page="$root/usr/share/man/man6/$program.6.gz"
    [[ -f $page ]] || { fail "$package lacks the manual page of $program"; continue; }
    text=$(zcat "$page" | groff -man -Tascii -rLL=300n -P-cbu 2>/dev/null)
    help=$(QT_QPA_PLATFORM=offscreen "$root/usr/games/$program" --help 2>&1)
    for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
      grep -qF -- "$option" <<<"$text" || fail "the manual page of $program does not tell of $option"
    done
  done
done

unit="$WORK/root-quarn-server/usr/lib/systemd/system/quarnd.service"
if [[ -f $unit ]]; then
  grep -q '^ExecStart=/usr/games/quarnd ' "$unit" || fail "quarnd.service does not start /usr/games/quarnd"
  if command -v systemd-analyze >/dev/null; then
    # verify looks for the program the unit starts: give it the unpacked one.
    mkdir -p "$WORK/verify"
    sed "s|^ExecStart=/usr/games/quarnd|ExecStart=$WORK/root-quarn-server/usr/games/quarnd|" \
      "$unit" >"$WORK/verify/quarnd.service"
    output=$(systemd-analyze verify --man=no "$WORK/verify/quarnd.service" 2>&1) ||
      fail "systemd-analyze verify: $output"
    [[ -z $output ]] || fail "systemd-analyze verify warns: $output"
  else
    echo "systemd-analyze is not installed: the unit is not verified"
  fi
fi

if ((failures > 0)); then
  echo "$failures checks failed"
  exit 1
fi
echo "the packages hold what they should"
