# Bash completion for orbctl. The commands and each command's options are read from orbctl's own help,
# so a new command or option completes without a change here.

_orbctl() {
    local cur prev words cword
    _init_completion || return

    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        [[ $word != -* ]] && { command=$word; break; }
    done

    case $prev in
        --port)
            # A COM number, or a serial device the system has.
            local devices
            devices=$(compgen -G '/dev/tty[A-Z]*' ; compgen -G '/dev/serial/by-id/*')
            COMPREPLY=($(compgen -W "1 2 3 4 $devices" -- "$cur"))
            return ;;
        --timeout)
            # Seconds the activation waits for the unit.
            COMPREPLY=($(compgen -W "10 30 60 120" -- "$cur"))
            return ;;
        --memory)
            COMPREPLY=($(compgen -W "128 256 512 1024 2048 4096 8192 16384 32768 65536" -- "$cur"))
            return ;;
        --backup)
            _filedir eep
            return ;;
        --units | --log)
            _filedir csv
            return ;;
        --backup-dir)
            _filedir -d
            return ;;
        --count)
            return ;;
        -o | --output)
            _filedir
            return ;;
    esac

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--help --version" -- "$cur"))
        else
            local commands
            commands=$("$1" --help 2>/dev/null | sed -n 's/^  orbctl \([a-z]*\).*/\1/p')
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    if [[ $cur == -* ]]; then
        local options
        options=$("$1" "$command" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*\|-o\b' | sort -u)
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi
    case $command in
        import) _filedir json ;;
        series) _filedir '@(eep|json)' ;;
        read | ports) ;;
        *) _filedir eep ;;
    esac
} && complete -F _orbctl orbctl
