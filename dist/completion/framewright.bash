# bash completion for framewright: its options, files after --settings, and after --apply, --match and --watch the
# descriptions of the saved entries, as `framewright --list` prints them (its first tab-separated field) from the
# settings file already named on the line.
#
# The line is read from COMP_LINE rather than COMP_WORDS, which bash splits at ':' and '=' even inside quotes. Nothing
# typed on it is expanded or run: quotes and backslashes are removed, a leading ~/ stands for $HOME, nothing else.

# Splits the line up to the cursor into words the way the shell reads them. Sets _framewright_words (the words with
# their quoting removed, the last one being the word under the cursor), _framewright_typed (that last word as typed)
# and _framewright_quote (the quote still open at the cursor: ', " or nothing).
_framewright_split()
{
    local line=$1 i ch word='' typed='' quote='' inWord=''
    _framewright_words=()
    for ((i = 0; i < ${#line}; i++)); do
        ch=${line:i:1}
        if [[ -z $quote && ($ch == ' ' || $ch == $'\t') ]]; then
            [[ -n $inWord ]] && _framewright_words+=("$word")
            word='' typed='' inWord=''
            continue
        fi
        inWord=1
        typed+=$ch
        if [[ $quote == "'" ]]; then
            [[ $ch == "'" ]] && quote='' || word+=$ch
        elif [[ $ch == '"' ]]; then
            [[ -n $quote ]] && quote='' || quote='"'
        elif [[ $ch == "'" && -z $quote ]]; then
            quote="'"
        elif [[ $ch == '\' && -n $quote && ${line:i+1:1} != [\\\"\$\`] ]]; then
            word+=$ch
        elif [[ $ch == '\' ]]; then
            ((i++))
            typed+=${line:i:1}
            word+=${line:i:1}
        else
            word+=$ch
        fi
    done
    _framewright_words+=("$word")
    _framewright_typed=$typed
    _framewright_quote=$quote
}

# A settings file's name with a leading ~/ put for $HOME.
_framewright_home()
{
    [[ $1 == '~' || $1 == '~/'* ]] && printf '%s' "$HOME${1:1}" || printf '%s' "$1"
}

# Quotes text for the quote open at the cursor (', " or none), so that the shell reads it back unchanged.
_framewright_quoted()
{
    local text=$1
    [[ -z $text ]] && return
    case $2 in
        "'") printf '%s' "${text//\'/\'\\\'\'}" ;;
        '"')
            text=${text//\\/\\\\}
            text=${text//\"/\\\"}
            text=${text//\$/\\\$}
            printf '%s' "${text//\`/\\\`}"
            ;;
        *) printf '%q' "$text" ;;
    esac
}

# Offers each candidate that begins with the unquoted word under the cursor. Readline replaces only its own part of
# the word ($1: after the last ':' or '=', or after an open quote), so each reply is that part followed by the rest
# of the candidate, quoted as the word goes on.
_framewright_offer()
{
    local readlineWord=$1 prefix=${_framewright_words[-1]} candidate
    shift
    for candidate in "$@"; do
        [[ $candidate == "$prefix"* ]] || continue
        COMPREPLY+=("$readlineWord$(_framewright_quoted "${candidate:${#prefix}}" "$_framewright_quote")")
    done
}

# The saved entries' descriptions, from the settings file named before the cursor (or the usual one). --list prints
# them in its printable form (\\, \xNN, \uNNNN), which printf's %b reads back; one holding a control character is
# not offered.
_framewright_descriptions()
{
    local program=$1 line description
    shift
    "$program" "$@" --list 2>/dev/null | while IFS= read -r line; do
        printf -v description '%b' "${line%%$'\t'*}"
        [[ $description == *[[:cntrl:]]* ]] || printf '%s\n' "$description"
    done
}

_framewright()
{
    local readlineWord=$2
    COMPREPLY=()
    _framewright_split "${COMP_LINE:0:COMP_POINT}"
    local -a words=("${_framewright_words[@]}")
    local count=${#words[@]} current=${words[-1]} previous=''
    ((count > 1)) && previous=${words[-2]}

    local i mode='' named=0 descriptionsOnly=''
    local -a settings=()
    for ((i = 1; i < count - 1; i++)); do
        if [[ -n $descriptionsOnly || ${words[i]} != -* || ${words[i]} == - ]]; then
            ((named++))
        elif [[ ${words[i]} == -- ]]; then
            descriptionsOnly=1
        elif [[ ${words[i]} == --settings ]] && ((i + 1 < count - 1)); then
            ((i++))
            settings=(--settings "$(_framewright_home "${words[i]}")")
        elif [[ ${words[i]} == --settings=* ]]; then
            settings=(--settings "$(_framewright_home "${words[i]#--settings=}")")
        elif [[ ${words[i]} == --@(list|windows|match|apply|watch|help|version) || ${words[i]} == -h ]]; then
            mode=${words[i]}
        fi
    done

    if [[ -z $descriptionsOnly && ($previous == --settings || $current == --settings=*) ]]; then
        _framewright_words[-1]=$(_framewright_home "${current#--settings=}")
        local -a files=()
        local file
        while IFS= read -r file; do
            [[ -d $file ]] && file+=/
            files+=("$file")
        done < <(compgen -f -- "${_framewright_words[-1]}")
        _framewright_offer "$readlineWord" "${files[@]}"
        [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == */ ]] && compopt -o nospace
        return 0
    fi

    if [[ -z $descriptionsOnly && $current == -* ]]; then
        local -a options=(--settings --no-skin)
        [[ -z $mode ]] && options+=(--list --windows --match --apply --watch --help --version)
        [[ -n $mode ]] && options+=(--)
        _framewright_offer "$readlineWord" "${options[@]}"
        return 0
    fi

    if [[ $mode == --@(apply|watch) || ($mode == --match && $named -eq 0) ]]; then
        local -a descriptions=() description
        while IFS= read -r description; do
            # Without "--" first, a description that begins with a hyphen would be read as an option.
            [[ -n $descriptionsOnly || $description != -* ]] && descriptions+=("$description")
        done < <(_framewright_descriptions "$(_framewright_home "${words[0]}")" "${settings[@]}")
        _framewright_offer "$readlineWord" "${descriptions[@]}"
    elif [[ -z $mode && -z $current ]]; then
        _framewright_offer "$readlineWord" --list --windows --match --apply --watch --settings --no-skin --help \
            --version
    fi
    return 0
}

complete -F _framewright framewright
