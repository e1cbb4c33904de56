// Files written beside their final name and put in place in one step, so a
// reader of the folder sees the old file or the new one, never half of one.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>

namespace korvanel {

struct TempFile {
    std::FILE* file = nullptr;
    std::filesystem::path path;
};

// Creates a new file in `folder` named ".korvanel-", six random characters
// and ".tmp", with the permissions every new file gets; none when it cannot
// be created. Until forget_temp_file, an interrupting signal (SIGINT,
// SIGTERM, SIGHUP, SIGQUIT) removes it before the program ends as the
// signal says.
std::optional<TempFile> create_temp_file(const std::filesystem::path& folder);

// The temporary file is put in place or removed: a signal leaves it alone.
void forget_temp_file(const std::filesystem::path& path);

// Removes every temporary file made and not yet forgotten: what an
// interrupting signal does, and what a run that fails does with its pages.
void remove_temp_files();

// Puts the file `from` in place of `to` in one step (a link named `to` is
// replaced, never what it points to); false when the system refuses. On
// Windows a file held open elsewhere is tried again for up to a second.
bool replace_file(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace korvanel
