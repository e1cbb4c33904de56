#include "chat/transcript.h"

#include <gtest/gtest.h>

#include "diag/messages.h"
#include "text/latin1.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::TempDir;

// Writes the transcript of `lines`; returns the fatal error it ended with.
std::optional<FatalError> transcript_failure(const TempDir& dir, std::initializer_list<std::string> lines) {
    ChatBuffer chat;
    for (const std::string& line : lines) chat.store(line);
    ScriptedConsole console;
    try {
        write_discussions_page(chat, "chat.log", dir.path(), console);
    } catch (const FatalError& error) {
        return error;
    }
    return std::nullopt;
}

TEST(Transcript, WhatThePlayerSaidNeedsItsOpeningQuote) {
    const std::string said{latin1("[10:00:01] @@Vous dîtes bonjour\n").view()};
    TempDir dir;
    const std::optional<FatalError> error = transcript_failure(dir, {"[09:59:59] @@Gorm dit, \"salut\"\n", said});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "");
    EXPECT_EQ(error->line, said);
    // the page keeps what was written before the failure
    EXPECT_TRUE(dir.read("discussions.html").ends_with("<b>Gorm</b> : salut</font><br>"));

    constexpr auto kWithQuote = latin1("[10:00:01] @@Vous dîtes, \"bonjour\n");
    TempDir fine;
    EXPECT_FALSE(transcript_failure(fine, {std::string(kWithQuote.view())}));
}

}  // namespace
}  // namespace korvanel
