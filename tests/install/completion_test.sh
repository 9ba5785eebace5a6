#!/usr/bin/env bash
# The bash completion of acvlogger-cli against the built program: what Tab
# offers after a few typical beginnings.
#   completion_test.sh COMPLETION-SCRIPT ACVLOGGER-CLI
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
cli=$2
failed=0

offers() {  # offers "WORDS TYPED" "EXPECTED OFFER" (the last word is completed)
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$cli
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _acvlogger_cli
  if [[ "${COMPREPLY[*]}" != "$2" ]]; then
    echo "FAIL: '$1' offers '${COMPREPLY[*]}', expected '$2'"
    failed=1
  fi
}

# Every subcommand the usage lists, in its order, and the program's options.
subcommands=$("$cli" --help | awk '/^subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')
offers "acvlogger-cli " "${subcommands//$'\n'/ } --help --help-all --version"
offers "acvlogger-cli dow" "download"
# A subcommand's options, and the choices or devices an option's value takes.
offers "acvlogger-cli export --p" "--part"
offers "acvlogger-cli export --part " "store realtime"
offers "acvlogger-cli setup --unit m" "minute"
offers "acvlogger-cli setup --circular " "on off"
offers "acvlogger-cli library s" "site sites stats"
offers "acvlogger-cli library timeline --kind " "store realtime"
offers "acvlogger-cli download --port /dev/null/" ""
# After a flag, or where a file name or a number goes: nothing of ours
# (readline completes file names).
offers "acvlogger-cli export --csv " ""
offers "acvlogger-cli download -o " ""
offers "acvlogger-cli realtime --interval " ""
offers "acvlogger-cli nosuch --" ""
exit $failed
