#!/usr/bin/env bash
# Runs Tintor's demo headless: demo/demo.script (pick a colour for the window
# background, draw the theme preview, read the help, show About, quit), then
# demo/restart.script (the next start shows the new background). Writes the screenshots and the
# resulting registry file into the output folder and lists what it wrote.
# Usage: scripts/demo.sh PATH/TO/tintor [OUTPUT_DIR]   (default: demo-out)
set -euo pipefail
tintor=$1
out=${2:-demo-out}
root=$(cd "$(dirname "$0")/.." && pwd)

rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
export TINTOR_REGISTRY="$out/registry.reg"

"$tintor" --script "$root/demo/demo.script" --screenshot-dir "$out"
"$tintor" --script "$root/demo/restart.script" --screenshot-dir "$out"
rm -f "$out/registry.reg.lock"

echo "Tintor demo: wrote into $out"
for f in "$out"/*; do
  printf '  %-28s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
echo "The registry file (UTF-16LE .reg) reads:"
iconv -f UTF-16LE -t UTF-8 "$out/registry.reg" | sed 's/^\xEF\xBB\xBF//; s/\r$//; s/^/  /'
