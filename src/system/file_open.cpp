#include "system/file_open.h"

#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <wchar.h>
#include <windows.h>
#endif

namespace korvanel {

namespace {
// Files read here are read in large pieces: the stream keeps no buffer of
// its own, which saves a copy and asking the system for its block size.
std::FILE* unbuffered(std::FILE* file) {
    if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}
}  // namespace

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
    const bool reading = std::string_view(mode) == "rb";
#ifdef _WIN32
    // A file read is shared for everything: the game may write, rename or
    // delete its log while it is read.
    if (reading) {
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
        return unbuffered(file);
    }
    wchar_t wide_mode[8] = {};
    for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wide_mode[i] = static_cast<wchar_t>(mode[i]);
    return _wfopen(path.c_str(), wide_mode);
#else
    std::FILE* file = std::fopen(path.c_str(), mode);
    return reading ? unbuffered(file) : file;
#endif
}

}  // namespace korvanel
