#!/usr/bin/env bash
# Configures and builds Halvora into build/ (or $HALVORA_BUILD_DIR).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${HALVORA_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@"
cmake --build "$BUILD"
