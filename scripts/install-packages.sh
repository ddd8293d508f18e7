#!/bin/sh
# Installs, as root, the Debian 12 packages that building and testing need; does nothing when all
# of them are there already.
set -e
packages="cmake ninja-build g++ openjdk-17-jdk-headless junit5 libjna-java
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq $missing >/dev/null
