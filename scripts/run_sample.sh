#!/usr/bin/env bash
# Builds KORVANEL and runs it on the sample log in a scratch directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release -j "$(nproc)" --target korvanel
rm -rf out/sample && mkdir -p out/sample
cp examples/chat.log out/sample/chat.log
(cd out/sample && ../../build/release/korvanel < /dev/null)
echo
echo "Pages written in $(pwd)/out/sample:"
ls out/sample
