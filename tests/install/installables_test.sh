#!/usr/bin/env bash
# What is installed beside the programs, checked in the build tree:
#   installables_test.sh VERSION MAN-DIR DESKTOP-FILE METAINFO PROGRAM...
# - every program prints "NAME VERSION" with the project's one version;
# - the manual pages format without a warning (as lintian checks), and acvlogger-cli's holds a
#   section for every subcommand its usage lists;
# - the desktop entry and the AppStream data pass their validators.
# MAN-DIR, DESKTOP-FILE or METAINFO may be "-": not built here.
set -uo pipefail
version=$1 man_dir=$2 desktop=$3 metainfo=$4
shift 4
failed=0
fail() { echo "FAIL: $*"; failed=1; }

for program in "$@"; do
  name=$(basename "$program")
  said=$("$program" --version 2>&1)
  [[ $said == "$name $version" ]] || fail "$name --version says '$said', expected '$name $version'"
  if [[ $man_dir != - ]]; then
    page=$man_dir/$name.1.gz
    [[ -f $page ]] || { fail "no manual page $page"; continue; }
    # As lintian reads them: 120 columns, where no line may overflow.
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=120 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$name(1) formats with warnings: $warnings"
    if [[ $name == acvlogger-cli ]]; then
      for sub in $("$program" --help | awk '/^subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'); do
        zgrep -q "^\.SS \"acvlogger-cli $sub\"" "$page" || fail "acvlogger-cli(1) has no section for '$sub'"
      done
    fi
  fi
done

if [[ $desktop != - ]]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
fi
if [[ $metainfo != - ]]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
fi
exit $failed
