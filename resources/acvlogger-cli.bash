# Tab completion of acvlogger-cli for bash. The subcommands, their options
# and the values an option offers (as in "--unit second|minute|hour") are
# read from the program's own help, so that whatever it learns completes too.

_acvlogger_cli() {
  local cli=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    local subcommands
    subcommands=$("$cli" --help 2>/dev/null |
      awk '/^subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }')
    mapfile -t COMPREPLY < <(compgen -W "$subcommands --help --help-all --version" -- "$cur")
    return
  fi

  local help
  help=$("$cli" "${COMP_WORDS[1]}" --help 2>/dev/null) || return
  # A subcommand with commands of its own (library) offers them next.
  if ((COMP_CWORD == 2)) && [[ $cur != -* ]]; then
    local commands
    commands=$(awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }' <<<"$help")
    if [[ -n $commands ]]; then
      mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
      return
    fi
  fi
  # The word after an option that takes a value: the help writes it as
  # "--option VALUE" (a placeholder) or "--option a|b|c" (the choices).
  if [[ $prev == -* ]]; then
    local value
    value=$(grep -oE -- "(^|[][ ,|])${prev}[ =][^] ]+" <<<"$help" | head -n 1)
    value=${value#*"$prev"?}
    if [[ $value =~ ^[a-z0-9][a-z0-9-]*(\|[a-z0-9][a-z0-9-]*)+$ ]]; then
      mapfile -t COMPREPLY < <(compgen -W "${value//|/ }" -- "$cur")
      return
    elif [[ $value == DEVICE* ]]; then
      mapfile -t COMPREPLY < <(compgen -W \
        "$(ls -d /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS* 2>/dev/null)" -- "$cur")
      return
    elif [[ -n $value ]]; then
      return  # a file name or a number: readline's own completion
    fi
  fi
  if [[ $cur == -* ]]; then
    local options
    options=$(grep -oE -- "(^|[][ ,|(])--?[a-z][a-z0-9-]*" <<<"$help" | sed 's/^[^-]*//' | sort -u)
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
  fi
}
complete -o default -F _acvlogger_cli acvlogger-cli
