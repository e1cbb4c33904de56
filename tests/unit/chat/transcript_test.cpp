#include "chat/transcript.h"

#include <gtest/gtest.h>

#include "diag/messages.h"
#include "text/latin1.h"
#include "test_support.h"

namespace korvanel {
namespace {

// Writes the transcript of `lines`; returns the fatal error it ended with.
std::optional<FatalError> transcript_failure(MemoryPageSink& sink, std::initializer_list<std::string> lines) {
    ChatBuffer chat;
    for (const std::string& line : lines) chat.store(line);
    ScriptedConsole console;
    try {
        write_discussions_page(chat, "chat.log", ".", console, sink);
    } catch (const FatalError& error) {
        return error;
    }
    return std::nullopt;
}

TEST(Transcript, WhatThePlayerSaidNeedsItsOpeningQuote) {
    const std::string said{latin1("[10:00:01] @@Vous dîtes bonjour\n").view()};
    MemoryPageSink sink;
    const std::optional<FatalError> error = transcript_failure(sink, {"[09:59:59] @@Gorm dit, \"salut\"\n", said});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "");
    EXPECT_EQ(error->line, said);
    // the lines before the failing one were written
    EXPECT_TRUE(sink.pages.at(0).second.ends_with("<b>Gorm</b> : salut</font><br>"));

    constexpr auto kWithQuote = latin1("[10:00:01] @@Vous dîtes, \"bonjour\n");
    MemoryPageSink fine;
    EXPECT_FALSE(transcript_failure(fine, {std::string(kWithQuote.view())}));
}

}  // namespace
}  // namespace korvanel
