#!/usr/bin/env bash
# Builds the fuzz preset (clang's libFuzzer with AddressSanitizer and UBSan) where needed and
# runs its targets over the seed corpora in tests/fuzz/corpus/<target>/. New inputs a run
# finds go to a scratch copy of the corpus (build/fuzz/work/<target>/corpus), so the committed
# corpus only grows by hand; a crash is saved in build/fuzz/work/<target>/ as crash-<hash>.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(csv_converter viewer_pages record_values installation_files station_lists panel_replies
         panel_session block_check block_receiver)

usage() {
    cat <<USAGE
usage: scripts/fuzz.sh TARGET SECONDS   fuzz one target for that long over its corpus
       scripts/fuzz.sh all SECONDS      fuzz every target in turn, SECONDS each
       scripts/fuzz.sh check            run every target once over its corpus (regression run)
       scripts/fuzz.sh seeds            make the seed corpora again from the golden recipes,
                                        the installation files and the simulated logger
       scripts/fuzz.sh list             name the targets

targets: ${targets[*]}
Each run prints the executions per second at its end; the exit status is 1 when a target
crashed or broke one of its checks.
USAGE
}

build() {
    if [ ! -f build/fuzz/CMakeCache.txt ]; then
        launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake --preset fuzz "${launcher[@]}" >/dev/null
    fi
    nice -n 10 cmake --build --preset fuzz --target "$@" >/dev/null
}

known() {
    local t
    for t in "${targets[@]}"; do [ "$t" = "$1" ] && return 0; done
    return 1
}

# The longest input a target is given: a collection needs room for several 1024-byte blocks.
max_len() {
    case "$1" in
        block_receiver) echo 12288 ;;
        csv_converter|viewer_pages) echo 8192 ;;
        *) echo 4096 ;;
    esac
}

fuzz_one() {
    local target="$1" seconds="$2"
    local work="build/fuzz/work/$target"
    rm -rf "$work/corpus"
    mkdir -p "$work/corpus"
    cp tests/fuzz/corpus/"$target"/* "$work/corpus/"
    echo "== $target: $seconds s"
    local status=0
    nice -n 10 "build/fuzz/tests/fuzz/fuzz_$target" "$work/corpus" -max_total_time="$seconds" \
        -max_len="$(max_len "$target")" -timeout=10 -print_final_stats=1 -artifact_prefix="$work/" \
        >"$work/log" 2>&1 || status=$?
    local runs rate
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    if [ "$status" -ne 0 ]; then
        grep -E "ERROR|fuzz check failed|SUMMARY|Test unit written" "$work/log" || tail -20 "$work/log"
        echo "== $target: FAILED (log: $work/log)"
        return 1
    fi
    echo "== $target: ${runs:-?} runs, ${rate:-?} exec/s, $(ls "$work/corpus" | wc -l) inputs in $work/corpus"
}

check_one() {
    local target="$1"
    if "build/fuzz/tests/fuzz/fuzz_$target" tests/fuzz/corpus/"$target"/* >"build/fuzz/check-$target.log" 2>&1; then
        echo "== $target: $(ls tests/fuzz/corpus/"$target" | wc -l) inputs passed"
    else
        grep -E "ERROR|fuzz check failed|SUMMARY|Running" "build/fuzz/check-$target.log" | tail -5
        echo "== $target: FAILED (log: build/fuzz/check-$target.log)"
        return 1
    fi
}

case "${1:-}" in
    ""|-h|--help|help) usage; exit 0 ;;
    list) printf '%s\n' "${targets[@]}"; exit 0 ;;
    seeds)
        build fenta21_fuzz_corpus
        rm -rf tests/fuzz/corpus.new
        build/fuzz/tests/fuzz/fenta21_fuzz_corpus tests/fuzz/corpus.new
        # Regression inputs (crash-*) are kept; the seeds are replaced.
        for t in "${targets[@]}"; do
            mkdir -p tests/fuzz/corpus/"$t"
            rm -f tests/fuzz/corpus/"$t"/seed-*
            cp tests/fuzz/corpus.new/"$t"/* tests/fuzz/corpus/"$t"/ 2>/dev/null || true
        done
        rm -rf tests/fuzz/corpus.new
        exit 0 ;;
    check)
        build fuzz_targets
        failed=0
        for t in "${targets[@]}"; do check_one "$t" || failed=1; done
        exit "$failed" ;;
esac

target="$1"
seconds="${2:-}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then usage >&2; exit 2; fi
if [ "$target" = all ]; then
    build fuzz_targets
    failed=0
    for t in "${targets[@]}"; do fuzz_one "$t" "$seconds" || failed=1; done
    exit "$failed"
fi
if ! known "$target"; then
    echo "unknown target: $target" >&2
    usage >&2
    exit 2
fi
build "fuzz_$target"
fuzz_one "$target" "$seconds"
