# fish completion for framewright: its options, files after --settings, and after --apply, --match and --watch the
# descriptions of the saved entries, as `framewright --list` prints them (its first tab-separated field) from the
# settings file already named on the line. fish quotes each description as it inserts it.

# What the words before the cursor ask for, one line each: "mode MODE", "named N" (descriptions given after the
# mode), "dashes" (a "--" was given), "settings FILE" (with a leading ~ put for $HOME). Words come unquoted from
# commandline; nothing on the line is expanded or run.
function __framewright_line
    set -l words (commandline -opc)
    set -l mode
    set -l named 0
    set -l dashes
    set -l settings
    set -l i 2
    while test $i -le (count $words)
        set -l word $words[$i]
        if test -n "$dashes"; or not string match -q -- '-?*' $word
            set named (math $named + 1)
        else if test $word = --
            set dashes 1
        else if test $word = --settings
            set i (math $i + 1)
            set settings $words[$i]
        else if string match -q -- '--settings=*' $word
            set settings (string replace -- --settings= '' $word)
        else if contains -- $word --list --windows --match --apply --watch --help -h --version
            set mode $word
            set named 0
        end
        set i (math $i + 1)
    end
    echo mode $mode
    echo named $named
    test -n "$dashes"; and echo dashes
    test -n "$settings"; and echo settings (string replace -r -- '^~(?=/|$)' $HOME $settings)
end

# Whether the word under the cursor is a description: after --apply or --watch, or the first after --match.
function __framewright_wants_description
    set -l state (__framewright_line)
    contains -- 'mode --apply' $state; or contains -- 'mode --watch' $state
    or begin
        contains -- 'mode --match' $state; and contains -- 'named 0' $state
    end
end

function __framewright_descriptions
    set -l state (__framewright_line)
    set -l program (string replace -r -- '^~(?=/|$)' $HOME (commandline -opc)[1])
    set -l settings
    set -l file (string replace -f -- 'settings ' '' $state)
    test -n "$file"; and set settings --settings $file
    # --list prints descriptions in its printable form (\\, \xNN, \uNNNN), which printf reads back as a format
    # with every % doubled; one holding a control character is not offered.
    set -l descriptions
    for printable in ($program $settings --list 2>/dev/null | string split -f1 \t)
        set -l description (printf (string replace -a -- % %% $printable) | string collect)
        string match -q -r -- '[\x00-\x1f\x7f-\x9f]' $description; or set -a descriptions $description
    end
    # Without "--" first, a description that begins with a hyphen would be read as an option.
    contains -- dashes $state; or set descriptions (string match -v -- '-*' $descriptions)
    printf '%s\n' $descriptions
end

# Options only before "--" and until a mode is given; after "--" everything is a description.
function __framewright_wants_option
    set -l state (__framewright_line)
    not contains -- dashes $state
end

function __framewright_wants_mode
    set -l state (__framewright_line)
    not contains -- dashes $state; and contains -- mode $state
end

complete -c framewright -f
complete -c framewright -n __framewright_wants_mode -l list -d 'Print the saved entries'
complete -c framewright -n __framewright_wants_mode -l windows -d 'Print the windows of the title list'
complete -c framewright -n __framewright_wants_mode -l match -d 'Print the windows a saved entry would move'
complete -c framewright -n __framewright_wants_mode -l apply -d 'Apply saved entries'
complete -c framewright -n __framewright_wants_mode -l watch -d 'Apply saved entries to windows as they appear'
complete -c framewright -n __framewright_wants_mode -s h -l help -d 'Print the usage text'
complete -c framewright -n __framewright_wants_mode -l version -d 'Print the version'
complete -c framewright -n __framewright_wants_option -l settings -r -F -d 'Read another settings file'
complete -c framewright -n __framewright_wants_option -l no-skin -d 'Start the window with the desktop frame and plain look'
complete -c framewright -n __framewright_wants_description -a '(__framewright_descriptions)' -d 'Saved entry'
