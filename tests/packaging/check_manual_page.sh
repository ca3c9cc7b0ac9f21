#!/usr/bin/env bash
# Checks the manual page of morvane-cli: it formats without warnings, and it documents the
# same options (with or without a value), environment variables and version as the program's
# own --help and --version.
# Usage: check_manual_page.sh MANUAL_PAGE MORVANE_CLI
set -uo pipefail

# shellcheck source=check_helpers.sh
source "$(dirname "$0")/check_helpers.sh"

page=${1:?usage: check_manual_page.sh MANUAL_PAGE MORVANE_CLI}
cli=${2:?usage: check_manual_page.sh MANUAL_PAGE MORVANE_CLI}

require_tools groff

warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
check "groff formats the page without warnings" test -z "$warnings"
[ -z "$warnings" ] || echo "$warnings"

help=$("$cli" --help)
check "morvane-cli --help exits 0" test $? -eq 0

# One line per option, "--name" or "--name VALUE", from the option lists of both texts.
# The page's options are the tags (.B or .BI after .TP) of its OPTIONS section.
help_options=$(sed -nE 's/^  (--[a-z-]+)( [A-Z]+)?.*/\1\2/p' <<<"$help" |
    sed -E 's/ [A-Z]+$/ VALUE/' | sort)
page_options=$(sed -n '/^\.SH OPTIONS$/,/^\.SH /p' "$page" | sed -n '/^\.TP$/{n;p}' |
    sed -e 's/\\-/-/g' | sed -nE 's/^\.BI? (--[a-z-]+)( " [a-z]+")?$/\1\2/p' |
    sed -E 's/ "[^"]*"$/ VALUE/' | sort)
check "--help lists options" test -n "$help_options"
if [ "$help_options" != "$page_options" ]; then
    fail "the page's OPTIONS differ from --help (< --help, > page)"
    diff <(echo "$help_options") <(echo "$page_options")
else
    passed=$((passed + 1))
fi

# Every environment variable that --help names is described under ENVIRONMENT.
environment=$(sed -n '/^\.SH ENVIRONMENT$/,/^\.SH /p' "$page" | sed -n '/^\.TP$/{n;p}')
while read -r variable; do
    check "ENVIRONMENT describes $variable" grep -qxF ".B $variable" <<<"$environment"
done < <(grep -oE '\b[A-Z]+(_[A-Z]+)+\b' <<<"$help" | sort -u)

# The footer's version is the one the program reports ("morvane-cli 1.0.0 (...)").
version=$("$cli" --version | sed -nE '1s/^morvane-cli ([0-9.]+) .*/\1/p')
check "morvane-cli --version gives a version" test -n "$version"
check "the page's footer names Morvane $version" \
    grep -qE "^\.TH MORVANE-CLI 1 \"[^\"]*\" \"Morvane $version\"" "$page"

finish
