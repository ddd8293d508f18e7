#!/bin/sh
# The main job: builds the bridge and the stand-in record library for Linux, then runs a Java program
# that calls every native method through the bridge and prints what comes back.
set -e
cd "$(dirname "$0")"
sh scripts/build.sh linux
cmake --build --preset linux --target demo
