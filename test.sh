#!/bin/sh
# Builds both presets and runs every test: Linux natively, Windows under Wine.
set -e
cd "$(dirname "$0")"
sh scripts/install-packages.sh
export JAVA_HOME=/usr/lib/jvm/java-17-openjdk-amd64
for preset in linux windows; do
    echo "== $preset"
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset
    ctest --preset $preset
done
