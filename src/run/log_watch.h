// Looking at a log again and again while the game writes it: what is new
// since the last read, and whether the log started again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "system/file_state.h"

namespace korvanel {

// How far a log has been read: up to `offset` bytes of the file `identity`.
struct ReadPosition {
    FileIdentity identity;
    std::uint64_t offset = 0;
};

// What a look found to read: `file`, open at `from`, holds new bytes up to
// `to`. `restarted` when the log is another file than the one read, or
// shorter than what was read: it is then read from its start.
struct NewBytes {
    std::FILE* file = nullptr;
    std::uint64_t from = 0, to = 0;
    FileIdentity identity;
    bool restarted = false;
};

// The end of the last complete line (its line feed included) among the
// bytes [from, size) of `file`; `from` when none ends there. Moves the
// file's reading position.
std::uint64_t end_of_last_line(std::FILE* file, std::uint64_t from, std::uint64_t size);

// Opens the log and tells what there is to read past `read`: its complete
// lines, or with `to_end` every byte, a last line without its line feed
// included. None when the log cannot be opened or holds nothing new to read
// (it is closed again then).
std::optional<NewBytes> look_at_log(const std::filesystem::path& path, const ReadPosition& read, bool to_end);

}  // namespace korvanel
