#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it into a scratch root with dpkg -x (nothing is
# installed on the machine) and checks its control fields, its layout, and that the unpacked
# morvane-cli, started from an unrelated folder, finds the installed critical t table and
# calibrates every installed example.
# Usage: check_package.sh BUILD_DIR WITH_DESKTOP_PROGRAM(0|1) SOURCE_DIR
set -uo pipefail

# shellcheck source=check_helpers.sh
source "$(dirname "$0")/check_helpers.sh"

build=${1:?usage: check_package.sh BUILD_DIR WITH_DESKTOP_PROGRAM SOURCE_DIR}
with_desktop_program=${2:?}
src=${3:?}
app_id=org.morvane.Morvane

require_tools cpack dpkg-deb dpkg readelf

make_scratch
# The test packages the tree as ctest finds it, already built. With the Makefile generator
# cpack would first make the "preinstall" target, a full build of every target run inside
# this test; naming a generator that has no such target (nothing of it is used otherwise)
# leaves that step out. A stale tree shows up below as a page that differs from its source.
if ! timeout 100 cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" \
    -D CPACK_CMAKE_GENERATOR=Ninja >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    fail "cpack builds the package"
    finish
fi

# ---- Control fields ----
version=$("$build/bin/morvane-cli" --version | sed -nE '1s/^morvane-cli ([0-9.]+) .*/\1/p')
architecture=$(dpkg --print-architecture)
deb=$scratch/out/morvane_${version}_${architecture}.deb
if [ ! -f "$deb" ]; then
    ls "$scratch/out"
    fail "the package is named morvane_${version}_${architecture}.deb"
    finish
fi
field() { dpkg-deb -f "$deb" "$1"; }
expect_equal "Version is the program's" "$version" "$(field Version)"

# The names of the packages Depends lists, without versions or alternatives.
depends=$(field Depends | tr ',|' '\n' | sed -E 's/^ *//; s/[ (].*//' | sort -u)
required=(libc6 libstdc++6)
if [ "$with_desktop_program" = 1 ]; then
    # The Qt 6 runtime, and the platform and SVG plugins that Qt loads at run time.
    required+=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 qt6-qpa-plugins)
    # Every Qt library the built program links (print support once printing is in).
    for library in $(readelf -d "$build/bin/morvane" | sed -n 's/.*NEEDED.*\[\(libQt6.*\)\]/\1/p')
    do
        required+=("$(dpkg -S "*/$library" | sed -n '1s/:.*//p')")
    done
fi
for package in "${required[@]}"; do
    check "Depends names $package" grep -qxF "$package" <<<"$depends"
done
check_no_match "Depends names no development package" '-dev$' "$depends"

# ---- Layout ----
listing=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expected=(/usr/bin/morvane-cli /usr/share/morvane/tcrit.txt
    /usr/share/man/man1/morvane-cli.1.gz)
programs=(morvane-cli)
if [ "$with_desktop_program" = 1 ]; then
    expected+=(/usr/bin/morvane "/usr/share/applications/$app_id.desktop"
        "/usr/share/metainfo/$app_id.metainfo.xml"
        "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
        "/usr/share/mime/packages/$app_id.xml")
    programs+=(morvane)
fi
examples=()
for example in "$src"/examples/*.txt; do
    [ -e "$example" ] && examples+=("$(basename "$example")")
done
check "examples/ holds example data files" test ${#examples[@]} -gt 0
for example in "${examples[@]}"; do
    expected+=("/usr/share/doc/morvane/examples/$example")
done
for path in "${expected[@]}"; do
    check "the package holds $path" grep -qxF "$path" <<<"$listing"
done
# Only the programs go to bin/; no library, header or test program rides along.
expect_equal "programs in /usr/bin" "$(printf '%s\n' "${programs[@]}" | sort)" \
    "$(sed -n 's|^/usr/bin/\([^/]\+\)$|\1|p' <<<"$listing" | sort)"
check_no_match "the package holds no library or header" '^/usr/(lib|include)/.' "$listing"

# ---- The unpacked programs ----
root=$scratch/root
dpkg -x "$deb" "$root"
cmp -s <(gzip -dc "$root/usr/share/man/man1/morvane-cli.1.gz") "$src/packaging/morvane-cli.1"
check "the packaged manual page is the source page" test $? -eq 0
cmp -s "$root/usr/share/morvane/tcrit.txt" "$src/data/tcrit.txt"
check "the packaged critical t table is the source table" test $? -eq 0

if [ "$with_desktop_program" = 1 ]; then
    desktop=$root/usr/share/applications/$app_id.desktop
    exec_program=$(sed -nE 's/^Exec=([^ ]+).*/\1/p' "$desktop")
    check "the menu entry starts a packaged program" test -x "$root/usr/bin/$exec_program"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    check "the menu entry's icon is packaged" \
        test -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg"
fi

# From an empty folder: no tcrit.txt there or beside the program, only the installed table.
# A missing table would stop the run with exit status 1 before any report.
mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere" || exit 1
report_top=$'              MORVANE\r'
for example in "${examples[@]}"; do
    "$root/usr/bin/morvane-cli" calibrate "$root/usr/share/doc/morvane/examples/$example" \
        >report.txt 2>messages.txt
    status=$?
    check "morvane-cli calibrate $example exits 0" test $status -eq 0
    [ $status -eq 0 ] || cat messages.txt
    IFS= read -r first_line <report.txt
    expect_equal "first report line of $example" "$report_top" "$first_line"
done

finish
