#include "system/file_open.h"

#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <wchar.h>
#include <windows.h>
#endif

namespace korvanel {

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    // A file read is shared for everything: the game may write, rename or
    // delete its log while it is read.
    if (std::string_view(mode) == "rb") {
        const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
        if (fd < 0) {
            CloseHandle(handle);
            return nullptr;
        }
        std::FILE* file = _fdopen(fd, "rb");
        if (file == nullptr) _close(fd);
        return file;
    }
    wchar_t wide_mode[8] = {};
    for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wide_mode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(path.c_str(), wide_mode);
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace korvanel
