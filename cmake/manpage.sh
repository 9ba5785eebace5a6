#!/bin/sh
# Writes the manual page of one program from the program's own help text
# (help2man) and a short hand-written part (docs/man/NAME.h2m: files,
# environment, examples, see also), gzipped as the man pages are installed:
#   cmake/manpage.sh PROGRAM HELP-OPTION INCLUDE OUTPUT.1.gz
# The page cannot drift from --help: it is made from it at every build.
set -eu
program=$1 help_option=$2 include=$3 output=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# help2man takes the synopsis from a first line "Usage: ...", a section from
# a line "*Name*" and a subsection from a line "name:" followed by an
# indented one. The help says "usage:", and acvlogger-cli --help-all heads
# each subcommand's help with "NAME:" then its "usage: ..." line.
# A usage line that goes on, deeper indented, on the next is joined to it.
"$program" "$help_option" | awk '
  usage != "" && /^          +[^ ]/ { sub(/^ +/, " "); usage = usage $0; next }
  usage != "" { print usage; usage = "" }
  NR == 1 { sub(/^usage:/, "Usage:"); usage = $0; next }
  heading != "" {
    if ($0 ~ /^usage: /) {
      if (!subcommands++) print "*Subcommands*"
      print heading
      sub(/^usage: /, "  ")
      usage = $0
      heading = ""
      next
    }
    print heading
    heading = ""
  }
  /^[a-z][a-z0-9-]*:$/ { heading = $0; next }
  { print }
  END { if (usage != "") print usage }
' >"$work/help.txt"

# help2man asks the program for --help and --version: a stand-in answers
# with the shaped text and the program's own version line.
name=$(basename "$program")
cat >"$work/$name" <<STANDIN
#!/bin/sh
case "\$1" in
  --version) exec "$program" --version ;;
  *) cat "$work/help.txt" ;;
esac
STANDIN
chmod +x "$work/$name"

help2man --no-info --no-discard-stderr --include="$include" --output="$work/page.1" "$work/$name"
# A subcommand's subsection is titled by its whole command line. A long
# comma-separated word (a CSV header) may break after a comma on a narrow
# terminal rather than run over its edge.
sed -e 's/^\.SS "subcommands:"$/.SS "Subcommands"/' \
    -e "s/^\.SS \"\([a-z][a-z0-9-]*\):\"\$/.SS \"$name \1\"/" \
    -e '/^[^.]/s/,\([^ ]\)/,\\:\1/g' "$work/page.1" >"$work/$name.1"
mkdir -p "$(dirname "$output")"
gzip -9n -c "$work/$name.1" >"$output"
