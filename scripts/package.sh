#!/usr/bin/env bash
# Builds the release archives in dist/:
#   korvanel-VERSION-windows-x86_64.zip    korvanel.exe, korvanel-direct.bat (which
#                                          follows the log live; ASCII, CR LF line
#                                          ends) and LISEZMOI.txt (UTF-8 with a
#                                          byte-order mark, CR LF line ends)
#   korvanel-VERSION-linux-x86_64.tar.gz   korvanel and LISEZMOI.txt (LF line ends)
# Both flat, without a folder. The version is the CMake project's. Reuses the
# build folders of the test command (build/release, build/windows) when they
# are there; archive entries carry the time of the last commit, so the same
# sources give the same archives.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh windows
version=$(sed -n 's/^project(korvanel VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release -j "$jobs" --target korvanel
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/windows -j "$jobs" --target korvanel

stage=build/package
rm -rf "$stage" && mkdir -p "$stage/linux" "$stage/windows" dist
cmake --install build/release --prefix "$stage/install" --strip >/dev/null
cp "$stage/install/bin/korvanel" "$stage/linux/korvanel"
cp packaging/LISEZMOI.txt "$stage/linux/LISEZMOI.txt"
cp build/windows/korvanel.exe "$stage/windows/korvanel.exe"
{ printf '\357\273\277'; sed 's/$/\r/' packaging/LISEZMOI.txt; } > "$stage/windows/LISEZMOI.txt"
sed 's/$/\r/' packaging/korvanel-direct.bat > "$stage/windows/korvanel-direct.bat"

stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
touch -d "@$stamp" "$stage"/linux/* "$stage"/windows/*
chmod 755 "$stage/linux/korvanel" "$stage/windows/korvanel.exe"
chmod 644 "$stage/linux/LISEZMOI.txt" "$stage/windows/LISEZMOI.txt" "$stage/windows/korvanel-direct.bat"

zip_file=dist/korvanel-$version-windows-x86_64.zip
tar_file=dist/korvanel-$version-linux-x86_64.tar.gz
rm -f "$zip_file" "$tar_file"
(cd "$stage/windows" && TZ=UTC zip -q -X "../../../$zip_file" korvanel.exe korvanel-direct.bat LISEZMOI.txt)
tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$stamp" -C "$stage/linux" -cf - korvanel LISEZMOI.txt \
    | gzip -n -9 > "$tar_file"
echo "archives written:"
ls -l "$zip_file" "$tar_file"
