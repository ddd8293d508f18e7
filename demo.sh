#!/bin/sh
# The main job: builds the bridge and the stand-in record library for Linux, then runs a Java program
# that calls every native method through the bridge and prints what comes back.
set -e
cd "$(dirname "$0")"
sh scripts/install-packages.sh
export JAVA_HOME=/usr/lib/jvm/java-17-openjdk-amd64
cmake --preset linux >/dev/null
cmake --build --preset linux
cmake --build --preset linux --target demo
