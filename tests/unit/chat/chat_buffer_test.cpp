#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chat/chat_buffer.h"

namespace korvanel {
namespace {

TEST(ChatBuffer, EveryLineComesBackWholeAcrossItsBlocks) {
    // Lines of every length up to beyond the 300 kept, enough to fill a few
    // blocks, so that some lines would straddle a block's end.
    ChatBuffer chat;
    std::vector<std::string> kept;
    for (int i = 0; kept.size() < 3 * ChatBuffer::kBlock / 150; ++i) {
        const std::size_t length = static_cast<std::size_t>(i * 37 % 320);
        const std::string line(length, static_cast<char>('a' + i % 26));
        chat.store(line);
        kept.push_back(line.substr(0, ChatBuffer::kSlotText));
    }
    ASSERT_EQ(chat.count(), static_cast<int>(kept.size()));
    for (int i = 0; i < chat.count(); ++i) ASSERT_EQ(chat.line(i), kept[static_cast<std::size_t>(i)]) << i;
}

}  // namespace
}  // namespace korvanel
