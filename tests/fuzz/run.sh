#!/usr/bin/env bash
# Runs every fuzz target (or those named in FUZZ_TARGETS) for FUZZ_SECONDS each, one after
# the other. New inputs go to build-fuzz/corpus/<target>; a crash leaves its input in
# build-fuzz/artifacts. Every target runs whatever an earlier one found; the findings are
# listed at the end, and then the run fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-60}
# the targets that need files write them to memory when it can
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
targets=${FUZZ_TARGETS:-"fields cp932 table_reader birthday schedule weekly holiday events history settings report sections"}
mkdir -p build-fuzz/artifacts
# this run's findings are the inputs written after this mark
started=build-fuzz/artifacts/.started
touch "$started"
findings=()
for target in $targets; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus" build-fuzz/artifacts
    echo "== fuzz_$target for ${seconds} s"
    ./build-fuzz/tests/fuzz/"fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
        -dict=tests/fuzz/tables.dict -artifact_prefix="build-fuzz/artifacts/$target-" \
        "$corpus" "tests/fuzz/corpus/$target" 2>&1 | grep -E '^(#[0-9]+ *DONE|stat::number_of_executed_units|==|SUMMARY|check failed|.*ERROR)' || true
    while IFS= read -r artifact; do
        findings+=("fuzz_$target: $artifact")
    done < <(find build-fuzz/artifacts -name "$target-*" -newer "$started")
done
if [ ${#findings[@]} -gt 0 ]; then
    echo "The fuzz targets found ${#findings[@]} problem(s); rerun one with" \
        "./build-fuzz/tests/fuzz/fuzz_<target> <input>:" >&2
    printf '  %s\n' "${findings[@]}" >&2
    exit 1
fi
echo "Every fuzz target ran clean: $targets"
