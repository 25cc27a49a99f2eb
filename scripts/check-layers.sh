#!/usr/bin/env bash
# Holds the source folders to their order of layers: a file may include only
# from its own layer or the ones below it, and a library in CMakeLists.txt may
# link only libraries of lower layers. Prints every offending line and fails.
#   scripts/check-layers.sh [source-root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# Lowest first. A folder not listed takes the layer of its nearest listed parent.
layers=(
  platform
  docking
  framework
  controls
  framework/windows
  text
  model
  files
  export
  model/document
  editor
)

python3 - "${layers[@]}" <<'PY'
import os, re, subprocess, sys

layers = sys.argv[1:]
rank = {folder: i for i, folder in enumerate(layers)}

def layer_of(path):
    """The listed folder nearest above path, or None outside every layer."""
    parts = path.split("/")
    for n in range(len(parts), 0, -1):
        folder = "/".join(parts[:n])
        if folder in rank:
            return folder
    return None

files = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                       capture_output=True, text=True, check=True).stdout.split()
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
faults = []
for path in files:
    if not path.endswith((".h", ".hpp", ".c", ".cpp", ".rc")) or not os.path.isfile(path):
        continue
    own = layer_of(os.path.dirname(path))
    if own is None:
        continue  # tests, benchmarks and scripts may use every layer
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = include.match(line)
            if not m:
                continue
            target = layer_of(os.path.dirname(m.group(1)))
            if target is not None and rank[target] > rank[own]:
                faults.append(f"{path}:{number}: {own} includes {m.group(1)} of the higher layer {target}")

# Libraries: ot_folder_library(name folder deps...) links only lower layers.
cmake = open("CMakeLists.txt", encoding="utf-8").read()
libraries = {}
for m in re.finditer(r"ot_folder_library\(([^)]*)\)", cmake):
    words = m.group(1).split()
    if len(words) >= 2:
        libraries[words[0]] = (words[1].removesuffix("/**"), words[2:])
for name, (folder, deps) in libraries.items():
    own = layer_of(folder)
    for dep in deps:
        if dep in libraries:
            target = layer_of(libraries[dep][0])
            if own is not None and target is not None and rank[target] >= rank[own] and dep != name:
                faults.append(f"CMakeLists.txt: {name} ({own}) links {dep} ({target}), which is not below it")

for fault in faults:
    print(fault)
if faults:
    print(f"check-layers: {len(faults)} dependencies against the order {' < '.join(layers)}")
    sys.exit(1)
PY
