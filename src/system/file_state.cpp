#include "system/file_state.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/types.h>
#endif

namespace korvanel {

std::optional<FileState> file_state(std::FILE* file) {
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) return std::nullopt;
    FileState state;
    state.identity.volume = info.dwVolumeSerialNumber;
    state.identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    state.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return state;
#else
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0) return std::nullopt;
    FileState state;
    state.identity.volume = static_cast<std::uint64_t>(info.st_dev);
    state.identity.index = static_cast<std::uint64_t>(info.st_ino);
    state.size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    return state;
#endif
}

bool seek_file(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace korvanel
