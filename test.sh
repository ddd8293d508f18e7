#!/bin/sh
# Builds every preset and runs every test: Linux natively and under the sanitizers, Windows under Wine.
set -e
cd "$(dirname "$0")"
for preset in linux windows linux-asan linux-tsan; do
    echo "== $preset"
    sh scripts/build.sh $preset
    ctest --preset $preset
done
