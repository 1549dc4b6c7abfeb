#!/usr/bin/env bash
# Sets up, builds the program folder build/halvora/ and starts Halvora.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${HALVORA_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh"
if [ -x "$BUILD/halvora/halvora" ]; then
  exec "$BUILD/halvora/halvora"
fi
echo "Built the program folder $BUILD/halvora:"
ls -l "$BUILD/halvora"
