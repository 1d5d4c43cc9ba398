#!/usr/bin/env bash
# The bash completion of tira: registered when sourced, and the values it offers, both on
# its own and under the bash-completion package. Usage: bash_completion_test.sh SCRIPT
set -u
script=$(realpath "$1")
failures=0

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/home a" "$folder/home b"
touch "$folder/TIRA.ini" "$folder/contacts.vcf"

# Runs one check in a fresh shell: the words of the line, the last one being completed.
offered() {
    local setup=$1
    shift
    bash --norc --noprofile -c '
        '"$setup"'
        source "$0" || exit 1
        [[ $(complete -p tira) == "complete -F _tira tira" ]] || { echo "not registered"; exit 1; }
        shift
        COMP_WORDS=("$@")
        COMP_CWORD=$(($# - 1))
        # as typed: no blank around the "=" that bash splits off an option
        COMP_LINE=$1
        previous=$1
        for word in "${@:2}"; do
            if [[ $word == = || $previous == = ]]; then COMP_LINE+=$word; else COMP_LINE+=" $word"; fi
            previous=$word
        done
        COMP_POINT=${#COMP_LINE}
        _tira
        printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "
    ' "$script" x "$@"
}

check() {
    local setup=$1 expected=$2
    shift 2
    local got
    got=$(cd "$folder" && offered "$setup" "$@")
    if [[ $got != "$expected" ]]; then
        echo "FAIL (${setup:-plain}): tira ${*:2}: expected [$expected], got [$got]"
        failures=$((failures + 1))
    fi
}

setups=("")
if [[ -r /usr/share/bash-completion/bash_completion ]]; then
    setups+=("source /usr/share/bash-completion/bash_completion")
else
    echo "FAIL: bash-completion is missing: scripts/install-deps.sh installs it"
    failures=$((failures + 1))
fi

for setup in "${setups[@]}"; do
    check "$setup" "json text" tira --print --format ""
    check "$setup" "json" tira --print --format j
    check "$setup" "json text" tira --print --format =
    check "$setup" "json" tira --print --format = j
    check "$setup" "24bit always auto never" tira --print --color ""
    check "$setup" "ics json text" tira --agenda 30 --format ""
    check "$setup" "event,history event,holiday" tira --agenda --kinds event,h
    check "$setup" "--color --date --format --home --kinds --output" tira --agenda -
    check "$setup" "off on" tira --autostart ""
    check "$setup" "home a home b" tira --home "home"
    check "$setup" "" tira --date ""
    check "$setup" "--agenda --autostart --check --help --holidays --home --import --print --version" tira --
    check "$setup" "contacts.vcf" tira --import con
    check "$setup" "--all --encoding" tira --import contacts.vcf -
    check "$setup" "cp932 utf8" tira --import contacts.vcf --encoding ""
    check "$setup" "--color --date --format --home --time" tira --print --home x -
    check "$setup" "--check --color" tira --c
    check "$setup" "--color" tira --home x --co
    check "$setup" "--print" tira --color always --pr
    check "$setup" "--home" tira --check --
    check "$setup" "" tira --version --
done

[[ $failures -eq 0 ]] && echo "bash completion: all checks passed"
exit $((failures > 0))
