#!/usr/bin/env bash
# Installs what the project needs, builds it and runs every test.
# Usage: scripts/build-and-test.sh [PRESET]   (default: ci; also debug, release, asan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-ci}

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
