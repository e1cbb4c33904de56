// What the system says of an open file: which file it is and how long, so
// that a log read again later can be told from another file by its name.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
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
    bool folder = false;
};

// The identity and size of an open file, and whether it is a folder; none
// when the system cannot tell.
std::optional<FileState> file_state(std::FILE* file);

// The identity of the file `path` names, a link followed; none when
// nothing is there or the system cannot tell.
std::optional<FileIdentity> path_identity(const std::filesystem::path& path);

// Moves the reading position of `file` to `offset` bytes from its start;
// false when refused.
bool seek_file(std::FILE* file, std::uint64_t offset);

}  // namespace korvanel
