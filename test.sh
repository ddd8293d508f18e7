#!/bin/sh
# Builds every preset and runs every test: Linux natively and under the sanitizers, Windows under Wine.
set -e
cd "$(dirname "$0")"
sh scripts/install-packages.sh
export JAVA_HOME=/usr/lib/jvm/java-17-openjdk-amd64
for preset in linux windows linux-asan linux-tsan; do
    echo "== $preset"
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset
    ctest --preset $preset
done
