#!/usr/bin/env bash
# Checks the menu entry, the AppStream data, the data file type and the icon of the desktop
# program: each file passes its own validator, and the names that tie them together agree.
# Usage: check_desktop_metadata.sh PACKAGING_SOURCE_DIR
set -uo pipefail

# shellcheck source=check_helpers.sh
source "$(dirname "$0")/check_helpers.sh"

src=${1:?usage: check_desktop_metadata.sh PACKAGING_SOURCE_DIR}
app_id=org.morvane.Morvane
desktop=$src/$app_id.desktop
metainfo=$src/$app_id.metainfo.xml
mime=$src/$app_id.mime.xml
icon=$src/$app_id.svg
data_type=application/x-morvane-data

require_tools desktop-file-validate appstreamcli update-mime-database xmllint

# desktop-file-validate exits 0 on warnings; a warning is a fault here too.
output=$(desktop-file-validate "$desktop" 2>&1)
check "desktop-file-validate accepts the menu entry" test -z "$output"
[ -z "$output" ] || echo "$output"

output=$(appstreamcli validate --no-net "$metainfo" 2>&1)
status=$?
check "appstreamcli validate --no-net accepts the metainfo" test "$status" -eq 0
grep -E '^(E|W):' <<<"$output" && fail "appstreamcli reports errors or warnings"

for file in "$metainfo" "$mime" "$icon"; do
    check "$(basename "$file") is well-formed XML" xmllint --noout "$file"
done

# The menu entry: what a file manager needs to start the program on a data file.
entry_value() { sed -n "s/^$1=//p" "$desktop"; }
expect_equal "Exec line takes the file as %f" "morvane %f" "$(entry_value Exec)"
expect_equal "Icon is the installed icon's name" "$app_id" "$(entry_value Icon)"
mime_types=";$(entry_value MimeType)"
for type in "$data_type" text/plain; do
    check "MimeType lists $type" grep -qF ";$type;" <<<"$mime_types"
done
check "the icon file is named for the menu entry's Icon" test -f "$src/$(entry_value Icon).svg"

# The metainfo points at this menu entry and offers the same data file type.
check "metainfo id is $app_id" grep -qF "<id>$app_id</id>" "$metainfo"
check "metainfo launches $(basename "$desktop")" \
    grep -qF "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo"
check "metainfo provides $data_type" grep -qF "<mediatype>$data_type</mediatype>" "$metainfo"

# The shared MIME database built from our XML alone maps *.mvd to the data type, which is a
# kind of plain text (so text editors still offer to open it).
make_scratch
mkdir -p "$scratch/mime/packages"
cp "$mime" "$scratch/mime/packages/$app_id.xml"
output=$(XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" 2>&1)
status=$?
check "update-mime-database reads the type definition" test "$status" -eq 0 -a -z "$output"
[ -z "$output" ] || echo "$output"
check "*.mvd is registered as $data_type" \
    grep -qxE "[0-9]+:$data_type:\*\.mvd" "$scratch/mime/globs2"
check "$data_type is a subclass of text/plain" \
    grep -qxF "$data_type text/plain" "$scratch/mime/subclasses"

finish
