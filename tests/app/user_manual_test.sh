#!/usr/bin/env bash
# The built manual: a PDF that opens, with its contents, every chapter and
# every effect's name in its text, and a picture of the program for each
# picture its chapters show.
# Usage: user_manual_test.sh MANUAL.pdf CHAPTER_FOLDER LAN_INI
set -euo pipefail
pdf=$1 chapters=$2 strings=$3
fail() { echo "FAILED: $*" >&2; exit 1; }

pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "${pages:-0}" -ge 8 ] || fail "only ${pages:-no} pages"
pdfinfo "$pdf" | grep -q 'A4' || fail "not A4"
text=$(pdftotext -layout "$pdf" -)
front=$(pdftotext -f 1 -l 1 -layout "$pdf" -)
grep -q 'Contents' <<<"$front" || fail "no contents on the first page"

while read -r title; do
    # Each chapter stands in the contents with a page number, and heads a page.
    grep -Eq "^ *${title} +[0-9]+$" <<<"$front" || fail "contents miss \"$title\""
    grep -Fxq $'\f'"$title" <<<"$text" || fail "chapter \"$title\" does not start a page"
done < <(sed -n 's/^# //p' "$chapters"/*.md)

for number in $(seq 1105 1122); do
    name=$(sed -n "s/^$number=//p" "$strings")
    grep -q "$name" <<<"$text" || fail "effect \"$name\" not described"
done

shown=$(grep -oh '!\[[^]]*\]([a-z-]*)' "$chapters"/*.md | wc -l)
pictures=$(pdfimages -list "$pdf" | tail -n +3)
[ "$(wc -l <<<"$pictures")" -eq "$shown" ] || fail "$(wc -l <<<"$pictures") pictures for $shown shown"
# Window pictures at their size on screen; the two main windows alike.
while read -r _ _ _ width height _; do
    [ "$width" -ge 150 ] && [ "$height" -ge 100 ] || fail "a picture of ${width}x$height"
done <<<"$pictures"
[ "$(awk '{print $4 "x" $5}' <<<"$pictures" | sort | uniq -c | sort -rn | head -1 | awk '{print $1}')" -ge 2 ] ||
    fail "the main window is not shown in both views"
echo "manual: $pages pages, $shown pictures"
