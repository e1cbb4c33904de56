// Opening a file by its path on every system (on Windows the path's wide
// form reaches the system, so no name is lost to the local code page).
#pragma once

#include <cstdio>
#include <filesystem>

namespace korvanel {

// Like std::fopen on `path`; `mode` is ASCII ("rb", "wb"). A file opened
// "rb" has no stream buffer (read it in large pieces); on Windows it may
// meanwhile be written, renamed or deleted by others.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

}  // namespace korvanel
