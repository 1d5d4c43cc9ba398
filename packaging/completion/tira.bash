# bash completion for tira
# Works with the bash-completion package and, more plainly, without it.

_tira()
{
    local cur prev words cword split=false
    if declare -F _init_completion >/dev/null; then
        _init_completion -s || return
    else
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        # bash splits --format=json into --format, = and json
        if [[ $cur == = ]]; then
            cur=
        elif [[ $prev == = ]]; then
            prev=${COMP_WORDS[COMP_CWORD - 2]}
        fi
    fi

    # the job already on the line
    local word mode=
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            --print | --agenda | --check | --autostart | --holidays | --import | -h | --help | -V | \
                --version)
                mode=$word
                ;;
        esac
    done

    case $prev in
        --home)
            if declare -F _filedir >/dev/null; then
                _filedir -d
            else
                compopt -o filenames 2>/dev/null
                local IFS=$'\n'
                COMPREPLY=($(compgen -d -- "$cur"))
            fi
            return
            ;;
        --format)
            if [[ $mode == --agenda ]]; then
                COMPREPLY=($(compgen -W 'text json ics' -- "$cur"))
            else
                COMPREPLY=($(compgen -W 'text json' -- "$cur"))
            fi
            return
            ;;
        --color)
            COMPREPLY=($(compgen -W 'auto always never 24bit' -- "$cur"))
            return
            ;;
        --kinds)
            # the next word of a comma list
            local done=${cur%"${cur##*,}"}
            COMPREPLY=($(compgen -P "$done" -W 'holiday birthday schedule weekly event history' \
                -- "${cur##*,}"))
            compopt -o nospace 2>/dev/null
            return
            ;;
        --output)
            if declare -F _filedir >/dev/null; then
                _filedir
            else
                compopt -o filenames 2>/dev/null
                local IFS=$'\n'
                COMPREPLY=($(compgen -f -- "$cur"))
            fi
            return
            ;;
        --autostart)
            COMPREPLY=($(compgen -W 'on off' -- "$cur"))
            return
            ;;
        --encoding)
            COMPREPLY=($(compgen -W 'utf8 cp932' -- "$cur"))
            return
            ;;
        --agenda)
            # a number of days, or no value and an option next
            [[ $cur == -* ]] || return
            ;;
        --date | --time | --holidays)
            # a date, a time or a year: nothing to offer
            return
            ;;
    esac
    [[ $split == true ]] && return

    local options
    case $mode in
        --print) options='--home --format --color --date --time' ;;
        --agenda) options='--home --format --color --date --kinds --output' ;;
        --check | --autostart) options='--home' ;;
        --import)
            if [[ $cur != -* ]]; then # the contact cards and calendars to read
                if declare -F _filedir >/dev/null; then
                    _filedir '@(vcf|VCF|ics|ICS)'
                else
                    compopt -o filenames 2>/dev/null
                    local IFS=$'\n'
                    COMPREPLY=($(compgen -f -- "$cur"))
                fi
                return
            fi
            options='--encoding --all'
            ;;
        --holidays | -h | --help | -V | --version) return ;;
        *)
            options='--print --agenda --check --autostart --holidays --import --home --help --version'
            # a name begun is matched against every option, whichever job it will be
            [[ ${#cur} -gt 2 ]] && options+=' --format --color --date --time --kinds --output --encoding --all'
            ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
} &&
    complete -F _tira tira
