#include "run/log_watch.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "system/file_open.h"

namespace korvanel {

std::uint64_t end_of_last_line(std::FILE* file, std::uint64_t from, std::uint64_t size) {
    constexpr std::uint64_t kChunk = 1 << 16;
    std::vector<char> chunk;
    // From the end backwards, a chunk at a time.
    for (std::uint64_t end = size; end > from;) {
        const std::uint64_t start = end - std::min(kChunk, end - from);
        const auto length = static_cast<std::size_t>(end - start);
        chunk.resize(length);
        if (!seek_file(file, start) || std::fread(chunk.data(), 1, length, file) != length) return from;
        for (std::size_t i = length; i > 0; --i) {
            if (chunk[i - 1] == '\n') return start + i;
        }
        end = start;
    }
    return from;
}

std::optional<NewBytes> look_at_log(const std::filesystem::path& path, const ReadPosition& read, bool to_end) {
    std::FILE* file = open_file(path, "rb");
    if (file == nullptr) return std::nullopt;
    NewBytes found;
    found.file = file;
    if (const std::optional<FileState> state = file_state(file)) {
        found.identity = state->identity;
        found.restarted = !(state->identity == read.identity) || state->size < read.offset;
        found.from = found.restarted ? 0 : read.offset;
        found.to = to_end ? state->size : end_of_last_line(file, found.from, state->size);
    }
    if (found.to == found.from || !seek_file(file, found.from)) {
        std::fclose(file);
        return std::nullopt;
    }
    return found;
}

}  // namespace korvanel
