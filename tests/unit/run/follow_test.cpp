#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "test_support.h"

namespace korvanel {
namespace {

constexpr std::string_view kReloadLine = "<meta http-equiv=\"refresh\" content=\"5\">";

// A console whose clock moves only when the program sleeps, and which does
// something to the log's folder at a chosen time.
struct FollowConsole : ScriptedConsole {
    std::int64_t act_at_ms = 0;
    std::function<void()> act;
    void sleep_ms(int ms) override {
        ScriptedConsole::sleep_ms(ms);
        if (act && clock_ms >= act_at_ms) std::exchange(act, nullptr)();
    }
};

TEST(Follow, APageThatCannotBeWrittenInAnUpdateEndsTheRunAndThePagesStopReloading) {
    testing::TempDir dir;
    const std::string first = "[20:00:00] Vous attaquez le loup avec votre hache, et infligez 50 points\n";
    dir.write("chat.log", first);
    FollowConsole console;
    console.act_at_ms = 1500;
    console.act = [&] {
        std::filesystem::create_directory(dir.path() / "Boss.html");
        dir.write("chat.log", first + "[20:00:05] [TOUS]:  ]log name Boss\n[20:00:06] Vous attaquez le loup avec "
                                      "votre hache, et infligez 60 points\n");
    };
    console.key_at_ms = 60'000;
    const int status = run_command_line(console, {path_from_utf8("--follow").native(), path_from_utf8("--no-wait").native()},
                                        dir.path());

    EXPECT_EQ(status, 1);
    EXPECT_NE(console.output.find("impossible d'ecrire le fichier Boss.html"), std::string::npos) << console.output;
    EXPECT_EQ(console.output.find("suivi termine"), std::string::npos);
    for (const char* page : {"Resultats.html", "discussions.html", "graphiques.html"}) {
        const std::string text = dir.read(page);
        EXPECT_NE(text.find("du fichier chat.log</title>"), std::string::npos) << page;
        EXPECT_EQ(text.find(kReloadLine), std::string::npos) << page;
    }
}

}  // namespace
}  // namespace korvanel
