#!/usr/bin/env bash
# For a developer working beside others: the test build and Wine prefix of one's own.
#   tools/dev-test.sh NAME [ctest arguments]   e.g. tools/dev-test.sh sys -R sys_
# BV_TARGETS="a b" limits the build to those targets.
set -euo pipefail
cd "$(dirname "$0")/.."
name=$1; shift
BV_SKIP_PRODUCT=1 BV_TREE="build/dev-$name" BV_PREFIX="$(pwd)/build/wineprefix-dev-$name" exec bash tools/test.sh "$@"
