#!/bin/sh
# Writes the part of fenta21-cli's manual page that help2man cannot take from the main --help:
# each command's own "fenta21-cli COMMAND --help", so that the page never drifts from the
# program. Usage: man-commands.sh PROGRAM OUTPUT
set -eu
program=$1
output=$2

# Roff takes a backslash as an escape and a line that begins with a dot or an apostrophe as a
# request; the help texts mean neither.
roff_text() {
    sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
}

commands=$("$program" --help | sed -n '/^commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p')
[ -n "$commands" ] || { echo "$0: $program --help lists no commands" >&2; exit 1; }
{
    echo "[COMMANDS]"
    printf '%s\n' 'Each command as \fBfenta21-cli\fR \fICOMMAND\fR \fB\-\-help\fR explains it:'
    for command in $commands; do
        echo ".SS $command"
        echo ".nf"
        "$program" "$command" --help | roff_text
        echo ".fi"
    done
    echo "[SEE ALSO]"
    echo ".BR fenta21 (1),"
    echo ".BR fenta21-sim (1)"
} > "$output.tmp"
mv "$output.tmp" "$output"
