#!/usr/bin/env bash
# Completes jotletctl command lines as bash does and checks what is offered:
#   completion_test.sh JOTLETCTL COMPLETION_SCRIPT
set -u
export LC_ALL=C
jotletctl=$1
# shellcheck source=../../ctl/jotletctl.bash
source "$2"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir "Jotlet light cache"
touch "Jotlet light cache/7.jtl" "Jotlet light cache/7.jtl2" "Jotlet light cache/70.jtl" \
    1.jtl 1.jtl2 a.rtf b.txt c.html d.png
# The note folder of show is this one.
export XDG_DATA_HOME=$work

failures=0
# offers EXPECTED WORD...: completing the last word of the line offers EXPECTED.
offers() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _jotletctl
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | paste -sd '|')
    if [ "$got" != "$expected" ]; then
        echo "FAIL: jotletctl ${*:2}<TAB>: expected '$expected', got '$got'"
        failures=$((failures + 1))
    fi
}

offers "--help|--version|about|convert|dump|exit|hide-all|list|make|new|notes|options|restart|search|show|show-all" \
    "$jotletctl" ""
offers "show|show-all" "$jotletctl" sh
offers "--help|--version" "$jotletctl" --
offers "1.jtl|Jotlet light cache" "$jotletctl" dump ""
offers "Jotlet light cache/7.jtl|Jotlet light cache/70.jtl" "$jotletctl" dump "Jotlet light cache/"
offers "1.jtl2|Jotlet light cache|a.rtf|b.txt|c.html" "$jotletctl" convert ""
offers "1.jtl2|Jotlet light cache|a.rtf|b.txt|c.html" "$jotletctl" convert a.rtf ""
offers "" "$jotletctl" convert a.rtf b.txt ""
offers "" "$jotletctl" new ""
offers "--json" "$jotletctl" list -
offers "7.jtl|70.jtl" "$jotletctl" show ""
offers "70.jtl" "$jotletctl" show 70
offers "" "$jotletctl" show 7.jtl ""

[ "$failures" -eq 0 ] && echo "every completion as expected"
exit $((failures > 0))
