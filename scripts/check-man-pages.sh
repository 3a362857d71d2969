#!/usr/bin/env bash
# The manual pages format without a warning, and druvel-cli's page names every command and
# every option the program's own usage texts offer, so a new option cannot go unmentioned.
set -euo pipefail
cli=$1
# The program's own texts, as a script without a locale reads them.
export LANGUAGE= LC_ALL=C
pages=$2
status=0

for page in "$pages"/druvel.1 "$pages"/druvel-cli.1; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  if [[ -n "$warnings" ]]; then
    echo "$page: $warnings"
    status=1
  fi
done

# Hyphens are escaped in roff; the rendered text is what a reader searches.
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -E UTF-8 -l "$pages/druvel-cli.1" 2>/dev/null | col -b)
commands=$("$cli" --help | awk '/^  [a-z]+ / { print $1 }')
[[ -n "$commands" ]] || { echo "no commands in druvel-cli --help"; exit 1; }
for command in $commands; do
  grep -q -- "druvel-cli $command" <<<"$rendered" || { echo "command not in the page: $command"; status=1; }
  # A command's usage goes to stdout or stderr, with a status of its own.
  for option in $({ "$cli" "$command" --help 2>&1 || true; } | grep -oE -- '(^|[ [])-(-[a-z][a-z-]*|[a-z])\b' | tr -d ' [' | sort -u); do
    grep -q -- "$option" <<<"$rendered" || { echo "option of $command not in the page: $option"; status=1; }
  done
done
for option in $("$cli" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$rendered" || { echo "option not in the page: $option"; status=1; }
done
((status == 0)) && echo "manual pages clean and complete"
exit $status
