# Bash completion for jotletctl: its commands and options, then the files
# each command works on. The commands come from "jotletctl --help", so the
# completion knows every command the installed program knows.

# Folders, and the files whose names end in one of the given extensions.
_jotletctl_files()
{
    local cur=$1 extension
    shift
    local IFS=$'\n'
    COMPREPLY=($(compgen -d -- "$cur"))
    for extension in "$@"; do
        COMPREPLY+=($(compgen -f -X "!*.$extension" -- "$cur"))
    done
    compopt -o filenames 2>/dev/null
}

# The note files of the note folder by name, as show takes them.
_jotletctl_notes()
{
    local folder="${XDG_DATA_HOME:-$HOME/.local/share}/Jotlet light cache" path
    local IFS=$'\n'
    for path in $(compgen -f -X '!*.jtl' -- "$folder/$1"); do
        COMPREPLY+=("${path##*/}")
    done
}

_jotletctl()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    COMPREPLY=()
    if [ "$COMP_CWORD" -eq 1 ]; then
        local commands
        commands=$({ "${COMP_WORDS[0]}" --help || jotletctl --help; } 2>/dev/null |
            sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    case ${COMP_WORDS[1]} in
    dump | make)
        [ "$COMP_CWORD" -eq 2 ] && _jotletctl_files "$cur" jtl
        ;;
    convert)
        [ "$COMP_CWORD" -le 3 ] && _jotletctl_files "$cur" rtf jtl2 txt html htm
        ;;
    list)
        [ "$COMP_CWORD" -eq 2 ] && COMPREPLY=($(compgen -W "--json" -- "$cur"))
        ;;
    show)
        [ "$COMP_CWORD" -eq 2 ] && _jotletctl_notes "$cur"
        ;;
    esac
}
complete -F _jotletctl jotletctl
