#!/usr/bin/env bash
# Holds the source folders to their order of layers: a file may include only
# from its own layer or the ones below it, and a library in CMakeLists.txt may
# link only libraries of lower layers. Prints every offending line and fails.
# Needs nothing but bash, grep and sed, so it runs before the set-up too.
#   scripts/check-layers.sh [source-root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# Lowest first. Each layer is a top-level folder with its subfolders.
layers=(
  platform
  docking
  framework
  controls
  appwindows
  text
  model
  files
  export
  document
  editor
)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

# The layer of a path (its top-level folder) in $layer, empty outside every layer.
layer_of() {
  layer=""
  [[ $1 == */* ]] || return 0
  local top=${1%%/*}
  [ -n "${rank[$top]+x}" ] && layer=$top
  return 0
}

# The tracked and new files of a checkout; every file of the tree elsewhere.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard)
else
  mapfile -t files < <(find . -type f ! -path './build*' ! -path './.git/*' | sed 's#^\./##')
fi
sources=()
for path in "${files[@]}"; do
  case $path in
    *.h|*.hpp|*.c|*.cpp|*.rc) [ -f "$path" ] && sources+=("$path") ;;
  esac
done

faults=()
include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)"'
if [ ${#sources[@]} -gt 0 ]; then
  while IFS= read -r hit; do
    path=${hit%%:*}; rest=${hit#*:}
    number=${rest%%:*}; line=${rest#*:}
    [[ $line =~ $include_re ]] || continue
    target_file=${BASH_REMATCH[1]}
    layer_of "$path"; own=$layer
    [ -n "$own" ] || continue  # tests, benchmarks and scripts may use every layer
    layer_of "$target_file"; target=$layer
    if [ -n "$target" ] && [ "${rank[$target]}" -gt "${rank[$own]}" ]; then
      faults+=("$path:$number: $own includes $target_file of the higher layer $target")
    fi
  done < <(grep -H -n -E "$include_re" -- "${sources[@]}" || true)
fi

# Libraries: ot_folder_library(name folder deps...) links only lower layers.
declare -A lib_folder lib_deps
cmake=$(tr '\n' ' ' < CMakeLists.txt)
while [[ $cmake =~ ot_folder_library\(([^\)]*)\)(.*) ]]; do
  cmake=${BASH_REMATCH[2]}
  read -r -a words <<< "${BASH_REMATCH[1]}"
  [ ${#words[@]} -ge 2 ] || continue
  lib_folder[${words[0]}]=${words[1]%/\*\*}
  lib_deps[${words[0]}]="${words[*]:2}"
done
for name in "${!lib_folder[@]}"; do
  layer_of "${lib_folder[$name]}/"; own=$layer
  [ -n "$own" ] || continue
  for dep in ${lib_deps[$name]}; do
    [ -n "${lib_folder[$dep]+x}" ] && [ "$dep" != "$name" ] || continue
    layer_of "${lib_folder[$dep]}/"; target=$layer
    if [ -n "$target" ] && [ "${rank[$target]}" -ge "${rank[$own]}" ]; then
      faults+=("CMakeLists.txt: $name ($own) links $dep ($target), which is not below it")
    fi
  done
done

if [ ${#faults[@]} -gt 0 ]; then
  printf '%s\n' "${faults[@]}"
  order=$(printf ' < %s' "${layers[@]}")
  echo "check-layers: ${#faults[@]} dependencies against the order ${order:3}"
  exit 1
fi
