#!/usr/bin/env bash
# Runs ctest in a build folder with a warm, persistent wineserver, and stops it afterwards
# whatever the outcome. Expects a display (see test.sh).
set -euo pipefail
build=$(cd "$1" && pwd); shift
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap wine_stop EXIT
wine_start
cd "$build"
ctest --output-on-failure --no-tests=error --timeout 300 "$@"
