#!/bin/sh
# Checks the built help.chm: a compiled help file (ITSF) holding every page of the project,
# in the Chinese code page, with the token page's content, every error number of the log
# and every setting with its default.
# Usage: check_help_file.sh <help.chm> <source root>
set -eu
chm=$1
root=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$chm" ] || fail "$chm is missing"
[ "$(head -c 4 "$chm")" = "ITSF" ] || fail "$chm has no ITSF signature"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >/dev/null || fail "extract_chmLib could not read $chm"

# Every file the project lists, and the contents tree.
pages=$(sed -n '/^\[FILES\]/,/^\[/p' "$root/app/res/help/help.hhp" | grep -v '^\[' | tr -d '\r')
[ -n "$pages" ] || fail "no pages listed in help.hhp"
for page in $pages help.hhc; do
  [ -s "$out/$page" ] || fail "$page is not in $chm"
done

# Pages are stored in code page 936 and say so.
text() { iconv -f CP936 -t UTF-8 "$out/$1" || fail "$1 is not in code page 936"; }
for page in $pages; do
  case $page in *.htm) text "$page" | grep -q 'charset=gb2312' || fail "$page does not declare gb2312";; esac
done

tokens=$(text tokens.htm)
for needle in '命名模板' '%name%' '%ext%' '%date%' '%now%' '%Taxis:6,50,1%' '序    列' \
              '<code>yymmdd</code>' '<code>hhmmss</code>' '<code>ww</code>' '<code>AM/PM</code>'; do
  printf '%s' "$tokens" | grep -qF -- "$needle" || fail "tokens.htm lacks $needle"
done

# Every error number the log can show is explained.
errors=$(text errors.htm)
numbers=$(grep -o 'ErrorInfo{ErrorKind::[A-Za-z]*, *[0-9]*' "$root/engine/errors.cpp" | grep -o '[0-9]*$')
[ -n "$numbers" ] || fail "no error numbers found in engine/errors.cpp"
for n in $numbers; do
  printf '%s' "$errors" | grep -qF "<tr><td>$n</td>" || fail "errors.htm does not explain error $n"
done

# Every setting, with its default: the program's own, the date pictures and the token
# keywords (section Variant, the default being the key).
settings=$(text settings.htm)
grep -ho 'SettingKey [A-Za-z]*{L"[^"]*", L"[^"]*", L"[^"]*"}' "$root/settings/setting_keys.h" \
    "$root/engine/token.cpp" |
  sed 's/.*{L"\([^"]*\)", L"\([^"]*\)", L"\([^"]*\)"}/\1 \2 \3/' > "$out/settings.txt"
grep -o 'Keyword(L"[^"]*")' "$root/engine/token.cpp" |
  sed 's/Keyword(L"\([^"]*\)")/Variant \1 \1/' >> "$out/settings.txt"
[ "$(wc -l < "$out/settings.txt")" -ge 16 ] || fail "the settings were not all found"
while read -r section key default; do
  printf '%s' "$settings" | grep -qF "<tr><td>[$section]</td><td>$key</td><td><code>$default</code></td>" ||
    fail "settings.htm lacks [$section] $key with default $default"
done < "$out/settings.txt"

echo "help.chm: $(echo $pages | wc -w) pages, error numbers $(echo $numbers), settings checked"
