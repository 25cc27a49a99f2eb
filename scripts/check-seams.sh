#!/usr/bin/env bash
# Holds every seam of the program to being installed by the program itself:
# a setter through which a higher layer gives a lower one a service (a name
# Set...Source, ...Scanner, ...Refresher, ...Hook, ...Listener, ...Callback,
# ...Provider, ...Sink, and the writers' SetProgress) must be called somewhere
# in the program's own sources, not only by tests and benchmarks; otherwise
# the lower layer falls back silently in the program. Prints every seam that
# nothing but a test calls and fails. Needs nothing but bash, grep and sed.
#   scripts/check-seams.sh [source-root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

folders=(platform docking framework controls appwindows text model files export document editor)
present=()
for folder in "${folders[@]}"; do
  [ -d "$folder" ] && present+=("$folder")
done
[ ${#present[@]} -gt 0 ] || exit 0

seam_re='\bSet[A-Za-z]*(Source|Scanner|Refresher|Hook|Listener|Callback|Provider|Sink)\b|\bSetProgress\b'
mapfile -t names < <(grep -rhoE --include='*.h' --include='*.cpp' "($seam_re)[[:space:]]*\(" "${present[@]}" |
                     sed -E 's/[[:space:]]*\($//' | sort -u)

faults=()
for name in "${names[@]}"; do
  # A declaration or definition names a type (or void) before the seam; a
  # call does not. A forwarding body on the definition's line is a call too.
  decl_re="^[[:space:]]*((static|virtual|inline|extern)[[:space:]]+)*[A-Za-z_][A-Za-z0-9_:<>]*[[:space:]*&]+([A-Za-z_][A-Za-z0-9_]*::)*${name}[[:space:]]*\("
  calls=$(grep -rhE --include='*.h' --include='*.cpp' "\b${name}[[:space:]]*\(" "${present[@]}" |
          while IFS= read -r line; do
            if [[ $line =~ $decl_re ]]; then
              body=${line#*\{}
              [ "$body" != "$line" ] && [[ $body =~ \b${name}[[:space:]]*\( ]] && echo "$line"
            else
              echo "$line"
            fi
          done | grep -cv '^[[:space:]]*//' || true)
  [ "$calls" -gt 0 ] || faults+=("$name: installed only by tests (or by nothing) in the program's sources")
done

if [ ${#faults[@]} -gt 0 ]; then
  printf '%s\n' "${faults[@]}"
  echo "check-seams: ${#faults[@]} seams the program does not install"
  exit 1
fi
