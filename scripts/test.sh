#!/usr/bin/env bash
# Sets up, builds and runs every test; exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${HALVORA_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh"
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)"
