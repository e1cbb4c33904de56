#include "system/file_open.h"

#ifdef _WIN32
#include <wchar.h>
#endif

namespace korvanel {

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    wchar_t wide_mode[8] = {};
    for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wide_mode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(path.c_str(), wide_mode);
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace korvanel
