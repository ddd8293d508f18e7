#!/bin/sh
# Installs what is missing, then configures and builds each preset named: build.sh PRESET...
set -e
cd "$(dirname "$0")/.."
sh scripts/install-packages.sh
export JAVA_HOME=/usr/lib/jvm/java-17-openjdk-amd64
for preset in "$@"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
