#!/bin/sh
# The benchmark: builds the Linux preset, then measures the bridge on the real JVM against baselines
# that make the same calls, and against JNA, first with the stand-in record library and then with a
# lean one that does nothing but return. It prints each ratio with its target; it asserts nothing.
# About two minutes; run it on an otherwise idle machine.
set -e
cd "$(dirname "$0")"
sh scripts/build.sh linux
cmake --build --preset linux --target bench
