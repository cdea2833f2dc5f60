#!/usr/bin/env bash
# Installs what the project needs, builds it and starts the program on the
# demo deployment through its launcher, as an installation starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
exec build/release/bin/Loader "$@"
