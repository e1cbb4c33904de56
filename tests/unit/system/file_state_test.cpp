#include "system/file_state.h"

#include <gtest/gtest.h>

#include "system/file_open.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::TempDir;

// A path has the identity of the file it reaches, whatever its name: the
// open file's own, another file's, or none when nothing is there.
TEST(FileState, APathHasTheIdentityOfTheFileItReaches) {
    TempDir dir;
    dir.write("log", "12345");
    dir.write("other", "12345");
    std::filesystem::create_hard_link(dir.path() / "log", dir.path() / "link");
    std::FILE* file = open_file(dir.path() / "log", "rb");
    ASSERT_NE(file, nullptr);
    const std::optional<FileState> state = file_state(file);
    std::fclose(file);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->size, 5u);
    EXPECT_FALSE(state->folder);
    EXPECT_EQ(path_identity(dir.path() / "log"), state->identity);
    EXPECT_EQ(path_identity(dir.path() / "link"), state->identity);
    EXPECT_NE(path_identity(dir.path() / "other"), state->identity);
    EXPECT_EQ(path_identity(dir.path() / "nothing"), std::nullopt);
}

}  // namespace
}  // namespace korvanel
