#include "system/standard_streams.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korvanel {

#ifdef _WIN32
namespace {
// A handle the process was given that names nothing (none, or one closed
// before the start) could later be the value of a file the program opens.
bool names_nothing(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return true;
    SetLastError(NO_ERROR);
    return GetFileType(handle) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR;
}
}  // namespace

void open_standard_streams() {
    constexpr DWORD kStreams[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (const DWORD stream : kStreams) {
        if (!names_nothing(GetStdHandle(stream))) continue;
        const DWORD access = stream == STD_INPUT_HANDLE ? GENERIC_READ : GENERIC_WRITE;
        const HANDLE null_device = CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, 0, nullptr);
        if (null_device != INVALID_HANDLE_VALUE) SetStdHandle(stream, null_device);
    }
}
#else
void open_standard_streams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free descriptor is this one, the lower ones being open.
        const int null_device = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null_device >= 0 && null_device != fd) {
            dup2(null_device, fd);
            close(null_device);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
}
#endif

}  // namespace korvanel
