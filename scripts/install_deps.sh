#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need
# and the machine lacks. Does nothing when everything is there.
#   scripts/install_deps.sh [tmux] [chromium] [windows]
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v clang++ >/dev/null || need+=(clang)
command -v iconv >/dev/null || need+=(libc-bin)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
for extra in "$@"; do
    case "$extra" in
        tmux) command -v tmux >/dev/null || need+=(tmux) ;;
        chromium) command -v chromium >/dev/null || need+=(chromium) ;;
        windows)  # the cross build, its tests under Wine and the release archives
            command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
            [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
            command -v wine >/dev/null || need+=(wine)
            [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
            command -v zip >/dev/null || need+=(zip)
            command -v unzip >/dev/null || need+=(unzip)
            ;;
    esac
done
if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${need[@]}" >/dev/null
fi
