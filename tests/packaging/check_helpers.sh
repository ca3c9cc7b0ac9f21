# shellcheck shell=bash
# Shared by the packaging checks: named checks that keep going after a failure and a summary
# that sets the exit status. Source it; do not run it.

passed=0
failed=0

fail() {
    echo "FAIL: $1"
    failed=$((failed + 1))
}

# check NAME COMMAND...: passes when COMMAND succeeds.
check() {
    local name=$1
    shift
    if "$@" >/dev/null 2>&1; then
        passed=$((passed + 1))
    else
        fail "$name"
    fi
}

# expect_equal NAME EXPECTED ACTUAL
expect_equal() {
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
    else
        fail "$1: expected [$2], got [$3]"
    fi
}

# check_no_match NAME ERE TEXT: passes when no line of TEXT matches ERE.
check_no_match() {
    if grep -qE -- "$2" <<<"$3"; then
        fail "$1"
        grep -E -- "$2" <<<"$3"
    else
        passed=$((passed + 1))
    fi
}

# Stops at once when a tool the checks need is missing (tools/install_dependencies.sh
# installs them all).
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "FAIL: $tool is not installed (run tools/install_dependencies.sh)"
            exit 1
        fi
    done
}

# Sets scratch to a new folder that is removed when the script ends.
make_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/morvane-packaging.XXXXXX") || exit 1
    trap 'rm -rf "$scratch"' EXIT
}

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}
