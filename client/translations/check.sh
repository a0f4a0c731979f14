#!/bin/bash
# The check that every text of the window has its English (CTest translations_check):
#  1. lupdate run into a scratch copy of quarn_en.ts must leave it unchanged:
#     a text marked for translation that the file lacks (or that changed) would
#     arrive unfinished, and a text gone from the code would leave.
#  2. Every string literal with Chinese in it in the window's code (client/ui,
#     client/app, client/model) must be part of a text of the file, i.e. marked
#     for translation. The artwork (card faces are pictures, the same in every
#     language), font families and Chinese named in itself are left out.
# Exit 77 (skipped) when lupdate is missing.
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
if [ ! -x "$lupdate" ]; then
  echo "skipped: lupdate is missing (Debian package qt6-l10n-tools)"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
ts=$root/client/translations/quarn_en.ts
cp "$ts" "$scratch/quarn_en.ts"
LUPDATE=$lupdate "$root/client/translations/update.sh" "$scratch/quarn_en.ts"
if ! diff -u "$ts" "$scratch/quarn_en.ts" >"$scratch/diff"; then
  cat "$scratch/diff"
  echo "FAIL: client/translations/quarn_en.ts is not up to date with the code:"
  echo "      run client/translations/update.sh and give every unfinished text its English"
  exit 1
fi
cd "$root"
find client/ui client/app client/model \( -name '*.cpp' -o -name '*.h' \) ! -name 'artwork*' |
  sort | perl -CS -e '
    use strict; use warnings; use utf8;
    my $ts = do { local $/; open(my $f, "<:utf8", $ARGV[0]) or die; <$f> };
    my @sources = map { my $s = $_; $s =~ s/&quot;/"/g; $s =~ s/&lt;/</g; $s =~ s/&gt;/>/g;
                        $s =~ s/&apos;/\x27/g; $s =~ s/&amp;/&/g; $s } ($ts =~ m{<source>(.*?)</source>}gs);
    my %kept = map { $_ => 1 } ("宋体", "隶书", "中文");  # font families; the language menu
    my $bad = 0;
    while (my $file = <STDIN>) {
      chomp $file;
      open(my $f, "<:utf8", $file) or die "$file: $!";
      while (my $line = <$f>) {
        next if $line =~ m{^\s*//};
        $line =~ s{\s\s//\s.*$}{};  # a comment after the code
        while ($line =~ m{"((?:[^"\\]|\\.)*)"}g) {
          my $literal = $1;
          my $text = $literal;
          next unless $text =~ /[^\x00-\x7f]/ && !$kept{$text};
          $text =~ s/\\n/\n/g; $text =~ s/\\"/"/g; $text =~ s/\\\\/\\/g;
          next if grep { index($_, $text) >= 0 } @sources;
          print "$file:$.: not marked for translation: \"$literal\"\n";
          $bad = 1;
        }
      }
    }
    exit $bad;' "$ts" || { echo "FAIL: wrap these in tr() (or Shown()/Marked() in client/model)"; exit 1; }
echo "every text of the window has its English"
