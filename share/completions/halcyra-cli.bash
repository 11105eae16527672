# Bash completion for halcyra-cli: its commands, and each command's options.

# Folders, and files ending in the given extension (any letter case) when one is given.
_halcyra_cli_paths()
{
    local cur=$1 extension=$2
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    if [[ -n $extension ]]; then
        # "csv" becomes "!*.[cC][sS][vV]": compgen's filter has no switch for letter case.
        local pattern="!*." i letter
        for ((i = 0; i < ${#extension}; i++)); do
            letter=${extension:i:1}
            pattern+="[${letter,}${letter^}]"
        done
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -X "$pattern" -- "$cur")
    fi
}

_halcyra_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}

    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} != -* ]]; then
            command=${COMP_WORDS[i]}
            break
        fi
    done

    if [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "catalogue init demo list history export import \
profile report pages questionnaire --help --version" -- "$cur")
        return
    fi

    case $prev in
        --folder | --out-dir | --documents)
            _halcyra_cli_paths "$cur" ""
            return
            ;;
        --out)
            if [[ $command == export ]]; then
                _halcyra_cli_paths "$cur" csv
            else
                _halcyra_cli_paths "$cur" pdf
            fi
            return
            ;;
        --paper)
            mapfile -t COMPREPLY < <(compgen -W "letter a4" -- "$cur")
            return
            ;;
        --encoding)
            mapfile -t COMPREPLY < <(compgen -W "utf-8 utf-16 windows-1252 latin-1" -- "$cur")
            return
            ;;
        --client | --clients | --jobs | --sections | --page | --filter | --sort | --scores | \
            --yes-no | --age | --sex | --total-cholesterol | --hdl | --font | --size)
            COMPREPLY=()
            return
            ;;
    esac

    local options
    case $command in
        catalogue) options="" ;;
        init) options="--folder" ;;
        demo) options="--clients --folder --add" ;;
        list) options="--filter --sort --json --folder" ;;
        history) options="--client --json --folder" ;;
        export) options="--out --history --folder" ;;
        import) options="--encoding --dry-run --skip-bad --folder" ;;
        profile) options="--scores --yes-no --age --sex --total-cholesterol --hdl --client \
--folder --json" ;;
        report) options="--client --out --all --out-dir --clients --jobs --sections --folder \
--documents --paper" ;;
        pages) options="--client --page --folder" ;;
        questionnaire) options="--out --font --size" ;;
        *)
            COMPREPLY=()
            return
            ;;
    esac

    if [[ $command == import && $cur != -* ]]; then
        _halcyra_cli_paths "$cur" csv
    else
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
    fi
}
complete -F _halcyra_cli halcyra-cli
