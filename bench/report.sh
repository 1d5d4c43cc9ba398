#!/usr/bin/env bash
# Times `tira --print` over generated homes of 1k … 1M entries per kind (Shift-JIS, CR LF),
# next to `wc -l` over the same bytes in the same run, and prints one table.
#
# Environment: BENCH_SIZES (default "1000 10000 100000 1000000"), BENCH_KINDS (default
# "birthday schedule weekly history event"), BENCH_RUNS (repeats per measure, default 7;
# the median is shown), BENCH_DATE (report date, default 2024-06-14), JOBS (build jobs).
# A second table times `tira --agenda 366` from the same date over the sample home and the
# same homes: BENCH_AGENDA_RUNS (default 3; the 1M homes take seconds a run),
# BENCH_AGENDA=0 leaves it out.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

sizes=${BENCH_SIZES:-"1000 10000 100000 1000000"}
kinds=${BENCH_KINDS:-"birthday schedule weekly history event"}
runs=${BENCH_RUNS:-7}
date=${BENCH_DATE:-2024-06-14}
build=build-release
homes=$build/bench-homes

bash scripts/install-deps.sh time
cmake --preset release >/dev/null
cmake --build --preset release -j "${JOBS:-2}" --target tira tira_bench_gen tira_time_runs >/dev/null

tira=$build/tira
gen=$build/bench/tira_bench_gen
timer=$build/bench/tira_time_runs

# home DIR for KIND and COUNT, written again when the generator changed
home_for() {
    local dir=$homes/$1-$2
    if [ ! -f "$dir/.done" ] || [ "$gen" -nt "$dir/.done" ]; then
        rm -rf "$dir"
        "$gen" "$1" "$2" "$dir"
        touch "$dir/.done"
    fi
    echo "$dir"
}

table_of() {
    case $1 in
    birthday) echo BIRTH.TBL ;;
    schedule) echo SCHEDULE.TBL ;;
    weekly) echo WEEK.TBL ;;
    history) echo HISTORY.TBL ;;
    event) echo EVENT.TBL ;;
    esac
}

# "wall cpu" medians of $runs runs, in microseconds
median_us() {
    "$timer" "$runs" "$@"
}

peak_rss_kb() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}'
}

ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }

row='%-9s %9s %7s %9s %8s %12s %8s %7s %8s %8s\n'
printf "$row" kind lines MB "tira ms" "cpu ms" "lines/s" "wc ms" ratio "RSS MB" shown
empty=$(home_for birthday 0)
args=(--print --date "$date" --time 9:00)
read -r t c < <(median_us "$tira" --home "$empty" "${args[@]}")
printf "$row" startup 0 0 "$(ms "$t")" "$(ms "$c")" - - - \
    "$(awk -v kb="$(peak_rss_kb "$tira" --home "$empty" "${args[@]}")" 'BEGIN { printf "%.1f", kb / 1024 }')" -

for kind in $kinds; do
    for n in $sizes; do
        dir=$(home_for "$kind" "$n")
        file=$dir/$(table_of "$kind")
        cat "$file" >/dev/null # into the page cache
        "$tira" --home "$dir" "${args[@]}" >/dev/null
        read -r t c < <(median_us "$tira" --home "$dir" "${args[@]}")
        read -r w _ < <(median_us wc -l "$file")
        rss=$(peak_rss_kb "$tira" --home "$dir" "${args[@]}")
        shown=$("$tira" --home "$dir" "${args[@]}" | wc -l)
        bytes=$(stat -c %s "$file")
        printf "$row" "$kind" "$n" \
            "$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }')" "$(ms "$t")" "$(ms "$c")" \
            "$(awk -v n="$n" -v us="$t" 'BEGIN { printf "%.0f", n / (us / 1e6) }')" \
            "$(ms "$w")" "$(awk -v t="$t" -v w="$w" 'BEGIN { printf "%.1f", t / (w > 0 ? w : 1) }')" \
            "$(awk -v kb="$rss" 'BEGIN { printf "%.1f", kb / 1024 }')" "$shown"
    done
done
echo "medians of $runs runs; report date $date; wall and cpu (user + system) times;"
echo "ratio = tira / wc -l (wall) on the same file; startup = an empty home;"
echo "shown = report lines printed (header included)"

[ "${BENCH_AGENDA:-1}" = 0 ] && exit 0
agenda_runs=${BENCH_AGENDA_RUNS:-3}
agenda=(--agenda 366 --date "$date")
echo
arow='%-9s %9s %9s %8s %12s %8s %8s\n'
printf "$arow" kind lines "agenda ms" "cpu ms" "line-days/s" "RSS MB" entries
agenda_row() { # label lines home
    read -r t c < <("$timer" "$agenda_runs" "$tira" --home "$3" "${agenda[@]}")
    rss=$(peak_rss_kb "$tira" --home "$3" "${agenda[@]}")
    entries=$("$tira" --home "$3" "${agenda[@]}" --color never | grep -c '^  ')
    printf "$arow" "$1" "$2" "$(ms "$t")" "$(ms "$c")" \
        "$(awk -v n="$2" -v us="$t" 'BEGIN { printf "%.0f", n * 366 / (us / 1e6) }')" \
        "$(awk -v kb="$rss" 'BEGIN { printf "%.1f", kb / 1024 }')" "$entries"
}
agenda_row sample "$(cat examples/home/*.TBL | wc -l)" examples/home
for kind in $kinds; do
    for n in $sizes; do
        agenda_row "$kind" "$n" "$(home_for "$kind" "$n")"
    done
done
echo "medians of $agenda_runs runs; 366 days from $date; line-days/s = lines x 366 / wall time;"
echo "entries = agenda entries listed"
