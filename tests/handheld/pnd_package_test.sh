#!/bin/bash
# The handheld's package as the handheld's package library and the package
# repositories see it:
#   pnd_package_test.sh PND SCHEMA ABI_CHECK SCRATCH
# Finds the PXML and the icon appended to the .pnd by the library's own rules,
# validates the PXML against the platform's rules (SCHEMA) and shows that they
# reject what they must, then checks each application against the unpacked
# image: its command, its icon, and that the programs can load on the handheld.
set -u
pnd=$1
schema=$2
abi_check=$3
scratch=$4

. "$(dirname "$0")/../support/checks.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
pxml=$scratch/PXML.xml
icon=$scratch/icon.png
image=$scratch/image

# ---- discovery: the last "<PXML" in the file's last 500 KiB, the lines from
# there up to the one holding "</PXML>", and the PNG signature a few bytes on ----
size=$(stat -c %s "$pnd")
window=$((500 * 1024))
from=$((size > window ? size - window : 0))
found=$(tail -c +$((from + 1)) "$pnd" | LC_ALL=C grep -abo '<PXML' | tail -n 1 | cut -d: -f1)
[ -n "$found" ] || die "no <PXML in the last 500 KiB of $pnd"
pxml_at=$((from + found))
tail -c +$((pxml_at + 1)) "$pnd" | LC_ALL=C sed -n '/<\/PXML>/{p;q};p' >"$pxml"
tail -n 1 "$pxml" | grep -q '</PXML>' || die "no line holding </PXML> after the <PXML at byte $pxml_at"
pxml_end=$((pxml_at + $(stat -c %s "$pxml")))
signature=89504e470d0a1a0a
after=$(tail -c +$((pxml_end + 1)) "$pnd" | head -c 16 | od -An -v -tx1 | tr -d ' \n')
gap=${after%%"$signature"*}
[ "$gap" != "$after" ] && [ $((${#gap} % 2)) -eq 0 ] || die "no PNG signature within 8 bytes after the PXML"
tail -c +$((pxml_end + ${#gap} / 2 + 1)) "$pnd" >"$icon"
[ "$(/usr/bin/identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG 128x128" ] ||
    fail "the icon after the PXML is not a 128 x 128 PNG"

# ---- the platform's rules ----
valid() {
    xmllint --noout --schema "$schema" "$1" 2>"$scratch/xmllint.log"
}
valid "$pxml" || { fail "the PXML breaks the platform's rules:"; sed 's/^/    /' "$scratch/xmllint.log"; }
# check_variant WHAT SED-SCRIPT VALID: the PXML changed by the script must (yes)
# or must not (no) follow the rules.
variants=0
check_variant() {
    variants=$((variants + 1))
    local file=$scratch/variant$variants.xml
    LC_ALL=C sed "$2" "$pxml" >"$file"
    if cmp -s "$pxml" "$file"; then
        fail "$1: the change did not apply"
    elif valid "$file"; then
        [ "$3" = yes ] || fail "the schema accepts $1"
    else
        [ "$3" = no ] || fail "the schema rejects $1"
    fi
}
check_variant "an application without licences" '0,/<\/licenses>/{/<licenses>/,/<\/licenses>/d}' no
check_variant "titles whose first is not US English" \
    's/<title lang="en_US">Zynthra Classic/<title lang="de_DE">Zynthra Classic/' no
check_variant "a category that is not a main one" 's/category name="Game"/category name="ActionGame"/' no
for x11 in stop ignore maybe ""; do
    case $x11 in
    stop | ignore) check_variant "x11=\"$x11\"" "s/x11=\"req\"/x11=\"$x11\"/" yes ;;
    *) check_variant "x11=\"$x11\"" "s/x11=\"req\"/x11=\"$x11\"/" no ;;
    esac
done

# ---- the applications against the image ----
unsquashfs -d "$image" "$pnd" >"$scratch/unsquashfs.log" 2>&1 ||
    die "unsquashfs failed: $(cat "$scratch/unsquashfs.log")"
# value XPATH: the text of an attribute or element; /a/b means the PXML's own
# a and b elements, whatever their namespace prefix.
value() {
    xmllint --xpath "string($(echo "$1" | sed "s#/\([A-Za-z][A-Za-z0-9]*\)#/*[local-name()='\1']#g"))" "$pxml" 2>/dev/null
}
n=0
for id in zynthra zynthra-classic; do
    n=$((n + 1))
    app=/PXML/application[$n]
    [ "$(value "$app/@id")" = "$id" ] || fail "application $n is not $id"
    [ "$(value "$app/exec/@command")" = "$id.sh" ] && [ -x "$image/$id.sh" ] ||
        fail "$id: exec '$(value "$app/exec/@command")' is not its launch script in the image"
    [ "$(value "$app/exec/@x11")" = req ] || fail "$id: does not say it needs X"
    [ "$(value "$app/categories/category/subcategory/@name")" = ActionGame ] || fail "$id: not an ActionGame"
    [ "$(value "$app/icon/@src")" = "$id.png" ] &&
        [ "$(/usr/bin/identify -format '%m' "$image/$id.png" 2>/dev/null)" = PNG ] ||
        fail "$id: its icon '$(value "$app/icon/@src")' is not its own PNG in the image"
done
cmp -s "$image/zynthra.png" "$image/zynthra-classic.png" && fail "both applications have the same icon"
cmp -s "$icon" "$image/$(value /PXML/package/icon/@src)" || fail "the appended icon is not the package's icon"
# Unpacked, the image is an application folder: its PXML.xml must be the same.
sed -n '/<PXML/,$p' "$image/PXML.xml" | cmp -s - "$pxml" || fail "the image's PXML.xml is not the appended one"
"$abi_check" "$image/zynthra" "$image/zynthra-classic" || fail "the packed programs break the handheld's ABI"

checks_done "the package library finds the PXML and the icon; the PXML follows the platform's rules" \
    "files are in $scratch"
