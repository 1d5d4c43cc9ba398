#!/usr/bin/env bash
# Writes the seed corpus tests/fuzz/corpus/<target>/ from the sample home and the string
# literals of the tests (each as written and, where it converts, as Shift-JIS).
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/../.."
out=tests/fuzz/corpus
home=examples/home
rm -rf "$out"

seed() { # TARGET, the bytes on stdin
    local tmp
    tmp=$(mktemp)
    cat >"$tmp"
    mkdir -p "$out/$1"
    mv "$tmp" "$out/$1/$(sha1sum "$tmp" | cut -c1-40)"
}

# the lines of table files, each without its line end
table_lines() { cat "$@" | tr -d '\n' | tr '\r' '\n' | grep -v '^$' || true; }

# the string literals of test sources that hold a digit, escapes read as printf reads them
literals() {
    grep -ho '"\([^"\\]\|\\.\)*"' "$@" | sed 's/^"//; s/"$//' | grep '[0-9]' | sort -u || true
}

seed_lines() { # TARGET, lines on stdin: each line as it is and in Shift-JIS
    local line sjis
    sjis=$(mktemp)
    while IFS= read -r line; do
        printf '%b' "$line" | seed "$1"
        if printf '%b' "$line" | iconv -f UTF-8 -t CP932 >"$sjis" 2>/dev/null; then
            seed "$1" <"$sjis"
        fi
    done
    rm -f "$sjis"
}

seed_kind() { # TARGET, table files, test sources
    local target=$1 tables=$2
    shift 2
    table_lines $tables | while IFS= read -r line; do printf '%s' "$line" | seed "$target"; done
    literals "$@" | seed_lines "$target"
}

seed_kind birthday "$home/BIRTH.TBL" tests/report/birthdays_test.cpp tests/tables/jikukai_test.cpp
seed_kind schedule "$home/SCHEDULE.TBL" tests/report/schedules_test.cpp tests/tables/jikukai_test.cpp
seed_kind weekly "$home/WEEK.TBL" tests/report/weekly_test.cpp tests/tables/jikukai_test.cpp
seed_kind holiday "$home/TIRAHOLI.TBL" tests/report/holidays_test.cpp
seed_kind events "$home/EVENT.TBL $home/EVENT12.TBL" tests/tables/event_line_test.cpp \
    tests/report/events_test.cpp tests/report/event_examples_test.cpp
seed_kind history "$home/HISTORY.TBL $home/HIST12.TBL" tests/tables/history_line_test.cpp \
    tests/report/history_test.cpp
seed_kind fields "$home/BIRTH.TBL $home/EVENT.TBL" tests/tables/jikukai_test.cpp
seed_kind cp932 "$home/BIRTH.TBL $home/HISTORY.TBL" tests/text/cp932_test.cpp

for file in "$home"/*.TBL; do
    seed table_reader <"$file"
    seed report <"$file"
    seed sections <"$file"
done
literals tests/text/table_reader_test.cpp | seed_lines table_reader
seed settings <"$home/TIRA.ini"
grep -ho '"\([^"\\]\|\\.\)*"' tests/settings/settings_test.cpp | sed 's/^"//; s/"$//' |
    grep '\[' | sort -u | seed_lines settings
