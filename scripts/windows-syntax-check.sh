#!/usr/bin/env bash
# Compiles (syntax only) for Windows, with MinGW-w64, every source and test file a Windows
# build compiles: the core, the command line, the window, the dialogs, the platform layer
# and every test. The list and each file's flags come from the build itself - the
# `windows-check` preset configures the Windows build with the window and the tests against
# the Linux Qt headers, which carry the Windows branches too - so a file added to a Windows
# target is checked without a word here. What it catches is POSIX-only code outside its
# guards and broken Win32 calls; no Qt for Windows is needed.
#
# --compiled DIR: files a Windows build in DIR (the `mingw` preset) has compiled for real
# with the same compiler are not compiled again.
set -euo pipefail
cd "$(dirname "$0")/.."

compiled=()
if [ "${1:-}" = --compiled ]; then
    # those whose object file is there: configured is not yet built
    while IFS=$'\t' read -r object file; do
        if [ -f "$2/$object" ]; then compiled+=("$file"); fi
    done < <(jq -r '.[] | "\(.command | capture(" -o (?<o>[^ ]+)").o)\t\(.file)"' \
        "$2/compile_commands.json")
fi

build=build-windows-check
mkdir -p "$build/nlohmann-json"
cp -r /usr/include/nlohmann "$build/nlohmann-json/"
qt=$(qmake6 -query QT_INSTALL_LIBS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu)
cmake --preset windows-check -DQt6_DIR="$qt/cmake/Qt6" >/dev/null
# the .moc files some sources include
mapfile -t autogen < <(ninja -C "$build" -t targets all |
    sed -n 's/^\([A-Za-z0-9_]*_autogen\):.*/\1/p')
if [ ${#autogen[@]} -gt 0 ]; then
    cmake --build "$build" --target "${autogen[@]}" >/dev/null
fi

# Every compile of the build but GoogleTest's own, as its command with -fsyntax-only for -c
# and no object written.
commands="$build/syntax-check-commands"
printf '%s\n' "${compiled[@]}" | jq -R . | jq -s . >"$build/syntax-check-compiled.json"
jq -r --slurpfile done "$build/syntax-check-compiled.json" \
    '.[] | select(.file | test("/googletest/") | not) | select(.file | IN($done[0][]) | not)
         | .command | sub(" -o [^ ]+"; "") | sub(" -c "; " -fsyntax-only ")' \
    "$build/compile_commands.json" >"$commands"
total=$(wc -l <"$commands")
real=$(jq '[.[] | select(.file | test("/googletest/") | not)] | length' \
    "$build/compile_commands.json")
real=$((real - total))
if [ "$total" -eq 0 ]; then
    echo "Windows syntax check: the build lists no source" >&2
    exit 1
fi

failures="$build/syntax-check-failures"
: >"$failures"
jobs=$(nproc 2>/dev/null || echo 2)
# each command runs in the build folder, as the build runs it
tr '\n' '\0' <"$commands" |
    (cd "$build" && xargs -0 -P "$jobs" -n 1 sh -c 'eval "$1" || echo "$1" >>syntax-check-failures' sh)
failed=$(wc -l <"$failures")
echo "Windows syntax check: $((total - failed)) of $total compiles of the Windows build" \
    "(sources and tests) pass with MinGW-w64 -fsyntax-only; $real more were compiled for real"
if [ "$failed" -gt 0 ]; then
    echo "Windows syntax check failed for:" >&2
    sed 's/.* -fsyntax-only //' "$failures" >&2
    exit 1
fi

# C runtime calls MSVC marks deprecated (warning C4996, an error under /WX), looked for in
# what the Windows build compiles of the project's own files, after the preprocessor: the
# unbounded string functions, fopen and friends, getenv, the functions with static buffers
# (strerror, localtime, ...) and the POSIX names of the C runtime. The POSIX branches (#else
# of _WIN32) may use them; MSVC never sees those.
distinct='strerror|_wcserror|fopen|_wfopen|freopen|_wfreopen|getenv|_wgetenv|putenv|_wputenv'
distinct+='|sprintf|vsprintf|swprintf|vswprintf|_snprintf|_snwprintf|strcpy|wcscpy|strncpy'
distinct+='|wcsncpy|strcat|wcscat|strncat|wcsncat|strtok|wcstok|localtime|gmtime|ctime|asctime'
distinct+='|sscanf|swscanf|fscanf|scanf|vsscanf|mbstowcs|wcstombs|tmpnam|_mktemp|mktemp|strdup'
distinct+='|wcsdup|fileno|isatty|unlink|setmode|umask|chmod|getpid|strlwr|strupr|stricmp'
distinct+='|strnicmp|itoa|ltoa|ecvt|fcvt|gcvt'
generic='read|write|close|open|creat|lseek|dup|dup2|access|getcwd|chdir|mkdir|rmdir' # as ::name
# (a member of that name, Output::write, is no call of the global one)
export TIRA_DEPRECATED="(^|[^.>:A-Za-z0-9_]|std::|::)($distinct)[[:space:]]*\\(|(^|[^A-Za-z0-9_])::($generic)[[:space:]]*\\("
export TIRA_OWN_FILES="$PWD"
# one compile command, preprocessed: the lines of the project's own files that call them
cat >"$build/deprecated-calls.sh" <<'SCAN'
eval "$1" 2>/dev/null |
    awk -v src="$TIRA_OWN_FILES/src/" -v tests="$TIRA_OWN_FILES/tests/" '
        /^# [0-9]+ "/ { file = $3; gsub(/"/, "", file); line = $2; next }
        {
            if (index(file, src) == 1 || index(file, tests) == 1) print file ":" line ": " $0
            line++
        }' |
    grep -E "$TIRA_DEPRECATED"
true
SCAN
hits="$build/deprecated-calls"
jq -r '.[] | select(.file | test("/googletest/") | not)
           | .command | sub(" -o [^ ]+"; "") | sub(" -c "; " -E ")' \
    "$build/compile_commands.json" | tr '\n' '\0' |
    (cd "$build" && xargs -0 -P "$jobs" -n 1 sh deprecated-calls.sh) >"$hits"
if [ -s "$hits" ]; then
    echo "C runtime calls MSVC deprecates (C4996) in the Windows build:" >&2
    sort -u "$hits" | sed "s|^$PWD/||" >&2
    exit 1
fi
echo "Windows build: no C runtime call MSVC deprecates (C4996) in the project's files"
