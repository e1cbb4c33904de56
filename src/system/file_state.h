// What the system says of an open file: which file it is and how long, so
// that a log read again later can be told from another file by its name.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

namespace korvanel {

// A file's identity on its system: device and inode, or on Windows the
// volume serial number and the file index.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;

    bool operator==(const FileIdentity&) const = default;
};

struct FileState {
    FileIdentity identity;
    std::uint64_t size = 0;
};

// The identity and size of an open file; none when the system cannot tell.
std::optional<FileState> file_state(std::FILE* file);

// Moves the reading position of `file` to `offset` bytes from its start;
// false when refused.
bool seek_file(std::FILE* file, std::uint64_t offset);

}  // namespace korvanel
