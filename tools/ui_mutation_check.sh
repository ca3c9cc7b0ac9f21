#!/usr/bin/env bash
# Measures how well the window tests catch faults: applies each hand-made fault listed in
# tools/ui_mutations.txt, one at a time, to a scratch copy of the working tree (never to the
# tree itself), rebuilds the window tests there, runs them until one fails, and prints each
# fault's fate and a last line "ui mutation score: K of N killed".
#
#   tools/ui_mutation_check.sh [list]     scratch copy in build/ui-mutants (MORVANE_UI_MUTANT_DIR)
#   tools/ui_mutation_check.sh --fresh N  N faults drawn from ui/ with a new seed, printed first
#   tools/ui_mutation_check.sh --seed S --count N   the same draw again
#   MORVANE_UI_EVERY_TEST=1 tools/ui_mutation_check.sh ...   names every failing test of each fault
#
# Drawn faults come from tools/mutation_check.py, the engine check's generator, run on ui/; a
# list it saved (.jsonl) can be given as well. Its equivalents file sets aside those no test can
# tell from the original. The soak test runs MORVANE_SOAK_ACTIONS random actions (300 unless
# set).
set -euo pipefail

root=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
scratch=${MORVANE_UI_MUTANT_DIR:-$root/build/ui-mutants}
draw=()
case ${1:-} in
--fresh) draw=(--fresh "$2") ;;
--seed) draw=(--seed "$2" --count "${4:?--seed S --count N}") ;;
esac
if ((${#draw[@]})); then
    # In the scratch copy's build folder, which the copying below keeps.
    mkdir -p "$scratch/build"
    list=$scratch/build/drawn.jsonl
    python3 "$root/tools/mutation_check.py" --tree "$root" --folders ui "${draw[@]}" \
        --save "$list" --list-only | sed -n 1p # reads every line, so the generator never meets a closed pipe
else
    list=$(realpath "${1:-$root/tools/ui_mutations.txt}")
fi
export MORVANE_SOAK_ACTIONS=${MORVANE_SOAK_ACTIONS:-300}
# A fault that makes a test hang is killed by this limit, in seconds, on each test program.
timeout=${MORVANE_UI_TEST_TIMEOUT:-120}
# ccache, where it is installed, spares recompiling what the next fault does not touch.
if [[ -z ${CMAKE_CXX_COMPILER_LAUNCHER:-} ]] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
# The window tests, as tests/ui declares them; the broadest first, since a mutant is killed by
# the first test that fails.
mapfile -t tests < <(grep -ho '^morvane_add_[a-z]*test([a-z_]*' "$root"/tests/ui/CMakeLists.txt \
    "$root"/tests/ui/*.cmake | sed 's/.*(//' | sort | sed '/^main_window_test$/d;1i main_window_test')

# The scratch copy holds the working tree's files as they are now, tracked or new; the build
# folder inside it is kept from one run to the next. The files are stamped with the time of
# copying, so that each is newer than anything built before: an object a run left built from a
# fault (when it was stopped before rebuilding the restored file) is never taken for current.
mkdir -p "$scratch"
find "$scratch" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
(cd "$root" && git ls-files -co --exclude-standard | while IFS= read -r file; do
    [[ -f $file ]] && printf '%s\0' "$file"
done | tar --null -cf - -T -) | tar -xmf - -C "$scratch"
# Configured on every run, so that a test program added since the last run is a target too.
cmake -S "$scratch" -B "$scratch/build" -DCMAKE_BUILD_TYPE=Release \
    -DMORVANE_BUILD_BENCHMARKS=OFF >/dev/null

build() { cmake --build "$scratch/build" -j2 --target "${tests[@]}" >"$scratch/build.log" 2>&1; }

# Prints the first test that fails, or nothing. With MORVANE_UI_EVERY_TEST=1 every test program
# runs and each failing one is named with its failing test functions, which shows what each
# test catches.
first_failure() {
    local failures=()
    for test in "${tests[@]}"; do
        # With the runs of the same program on screens of other sizes (name_WxH).
        if ! ctest --test-dir "$scratch/build" -R "^${test}(_[0-9]+x[0-9]+)?\$" \
            --timeout "$timeout" --output-on-failure >"$scratch/test.log" 2>&1; then
            [[ ${MORVANE_UI_EVERY_TEST:-0} == 1 ]] || { echo "$test"; return; }
            functions=$(grep -o 'FAIL!  : [A-Za-z]*::[A-Za-z_]*' "$scratch/test.log" |
                sed 's/.*:://' | sort -u | paste -sd, -)
            failures+=("$test(${functions:-no function named})")
        fi
    done
    ((${#failures[@]} == 0)) || echo "${failures[*]}"
}

# Replaces the one occurrence of a text in a file; "\n" in either text stands for a line break.
apply() {
    python3 - "$@" <<'EOF'
import sys
path, old, new = sys.argv[1], *(s.replace("\\n", "\n") for s in sys.argv[2:])
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(f"{path}: the text occurs {text.count(old)} times: {old!r}")
open(path, "w", encoding="utf-8").write(text.replace(old, new))
EOF
}

# Applies a drawn fault (a line of a .jsonl list) to the scratch copy and prints its name and
# file; prints nothing when its line is gone from the tree or it is a listed equivalent.
apply_drawn() {
    python3 - "$root/tools" "$scratch" "$1" <<'EOF'
import json, os, sys
sys.path.insert(0, sys.argv[1])
import mutation_check as mc
mc.SOURCE_DIRS = ("ui",)
m = json.loads(sys.argv[3])
if (m["file"], m["after"], m["from"], m["to"]) in mc.load_equivalents():
    sys.exit()
place = mc.locate(sys.argv[2], m)
if place is None:
    sys.exit()
rel, index = place
path = os.path.join(sys.argv[2], rel)
lines = open(path, encoding="utf-8").read().split("\n")
lines[index] = lines[index][:len(lines[index]) - len(lines[index].lstrip())] + m["to"]
os.rename(path, path + ".orig")
open(path, "w", encoding="utf-8").write("\n".join(lines))
print(f"{m['id']} {rel}:{index + 1} {m['kind']} {m['desc']}\t{rel}")
EOF
}

build || { echo "the unchanged tree does not build; see $scratch/build.log"; exit 1; }
failed=$(first_failure)
[[ -z $failed ]] || { echo "$failed fails on the unchanged tree; see $scratch/test.log"; exit 1; }

killed=0
total=0
while IFS= read -r line; do
    [[ -z $line || $line == \#* ]] && continue
    if [[ $line == \{* ]]; then
        applied=$(apply_drawn "$line")
        if [[ -z $applied ]]; then
            echo "${line:0:60}... missing or equivalent (not counted)"
            continue
        fi
        name=${applied%%$'\t'*}
        file=${applied#*$'\t'}
    else
        name=${line%% @@ *}
        rest=${line#* @@ }
        file=${rest%% @@ *}
        rest=${rest#* @@ }
        old=${rest%% @@ *}
        new=${rest#* @@ }
        cp -p "$scratch/$file" "$scratch/$file.orig"
        apply "$scratch/$file" "$old" "$new"
    fi
    started=$SECONDS
    if ! build; then
        fate="does not compile (not counted)"
    else
        total=$((total + 1))
        failed=$(first_failure)
        if [[ -n $failed ]]; then
            killed=$((killed + 1))
            fate="killed by $failed"
        else
            fate="SURVIVED"
        fi
    fi
    mv "$scratch/$file.orig" "$scratch/$file"
    touch "$scratch/$file"
    printf '%-36s %s (%ds)\n' "$name" "$fate" $((SECONDS - started))
done <"$list"
build
echo "ui mutation score: $killed of $total killed"
