#!/usr/bin/env bash
# The manual page renders without a warning and names every flag and option
# that `quorvel --help` names.
#   manual_page_test.sh <quorvel> <quorvel.1>
set -euo pipefail
program=$1
page=$2
if ! command -v groff >/dev/null; then
  echo "groff is missing: the manual page is not rendered"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

groff -Kutf8 -man -Tutf8 -ww "$page" >"$tmp/page.txt" 2>"$tmp/warnings.txt"
if [ -s "$tmp/warnings.txt" ]; then
  echo "groff warns on $page:"
  cat "$tmp/warnings.txt"
  exit 1
fi
# Words of the rendered page, its overstrikes removed and any typographic
# minus or hyphen read as the minus sign that is typed.
sed -e 's/.\x08//g' -e 's/\xe2\x88\x92/-/g' -e 's/\xe2\x80\x90/-/g' "$tmp/page.txt" |
  tr -s ' \t[]|,' '\n' | sort -u >"$tmp/page_words.txt"

env -u ALLUSERSPROFILE "$program" --help </dev/null >"$tmp/help.txt"
# Every word of the help that starts with a minus sign followed by a letter,
# a second minus or "?" is a flag or an option.
tr -s ' \t[]|,' '\n' <"$tmp/help.txt" | grep -E '^-(-[a-z]+|[A-Za-z?][A-Za-z0-9]*)$' | sort -u \
  >"$tmp/help_flags.txt"
count=$(wc -l <"$tmp/help_flags.txt")
if [ "$count" -lt 24 ]; then
  echo "the help names only $count flags and options:"
  cat "$tmp/help_flags.txt"
  exit 1
fi
missing=$(comm -23 "$tmp/help_flags.txt" "$tmp/page_words.txt")
if [ -n "$missing" ]; then
  echo "the manual page does not name:"
  echo "$missing"
  exit 1
fi
echo "manual page: $count flags and options, no warning"
