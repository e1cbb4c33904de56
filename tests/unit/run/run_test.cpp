#include <gtest/gtest.h>

#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "run/command_line.h"
#include "run/exit_wait.h"
#include "system/system_names.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::run_on;
using testing::TempDir;

constexpr const char* kPrompt =
    "le fichier log n'a pas ete trouve \n quel fichier voulez-vous analyser ?(q pour quitter)\n";

TEST(OpenLog, TriesTheNameWithLogAppendedThenAsks) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "chat.log");  // a folder is no log
    dir.write("chat.log.log", "");
    ScriptedConsole console;
    console.key_at_ms = 0;
    EXPECT_EQ(run_command_line(console, {}, dir.path()), 0);
    EXPECT_EQ(console.output.find(kPrompt), std::string::npos);
    EXPECT_NE(dir.read("Resultats.html").find("<title>Analyse du fichier chat.log.log</title>"), std::string::npos);

    TempDir typed;
    typed.write("mylog.log", "");
    ScriptedConsole asked;
    asked.key_at_ms = 0;
    asked.words = {"Quitter", "mylog"};  // a capital Q is a file name
    EXPECT_EQ(run_command_line(asked, {}, typed.path()), 0);
    EXPECT_EQ(asked.output.substr(0, 46 + std::string(kPrompt).size() * 2),
              "\nKORVANEL - statistiques du journal de jeu\n\n" + std::string(kPrompt) + kPrompt + "Le");
    EXPECT_NE(typed.read("Resultats.html").find("Analyse du fichier mylog.log<"), std::string::npos);
}

TEST(OpenLog, QuittingAndEndOfInput) {
    for (const char* word : {"q", "quitter"}) {
        TempDir dir;
        ScriptedConsole console;
        console.words = {word};
        EXPECT_EQ(run_command_line(console, {}, dir.path()), 0) << word;
        EXPECT_EQ(console.output, "\nKORVANEL - statistiques du journal de jeu\n\n" + std::string(kPrompt));
        EXPECT_FALSE(dir.exists("Resultats.html"));
    }
    TempDir dir;
    ScriptedConsole console;  // no word at all: the input has ended
    EXPECT_EQ(run_command_line(console, {}, dir.path()), 1);
    EXPECT_EQ(console.output, "\nKORVANEL - statistiques du journal de jeu\n\n" + std::string(kPrompt));
}

TEST(OpenLog, ALongTypedNameIsTriedAsTyped) {
    TempDir dir;
    const std::string name60(60, 'n');
    dir.write(name60 + ".log", "");  // would only open with ".log" appended
    ScriptedConsole console;
    console.words = {name60, "q"};
    EXPECT_EQ(run_command_line(console, {}, dir.path()), 0);
    EXPECT_FALSE(dir.exists("Resultats.html"));
}

TEST(RunSequence, ProgressMarksAndTheChatBuffer) {
    TempDir dir;
    std::string log;
    for (int i = 0; i < 250; ++i) log += "[10:00:00] rien\n";
    const auto result = run_on(dir, log);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.console.find("Lecture en cours..\nanalyse et ecriture"), std::string::npos);
}

TEST(RunSequence, ProcessingTimeRoundsToTenths) {
    const std::pair<int, const char*> cases[] = {{2345, "2,3s"}, {2350, "2,4s"}, {2960, "3,0s"}, {59, "0,1s"}};
    for (const auto& [ms, shown] : cases) {
        TempDir dir;
        ScriptedConsole console;
        console.clock_step_ms = ms;  // the start and end marks are consecutive clock readings
        const auto result = run_on(dir, "", console);
        EXPECT_NE(result.console.find(std::string("Temps de traitement: ") + shown), std::string::npos) << ms;
    }
}

TEST(RunSequence, AnUnwritablePageIsAFatalError) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "Resultats.html");
    const auto result = run_on(dir, "");
    EXPECT_EQ(result.status, 1);
    const std::string tail = "\n\nERREUR\n\nimpossible d'ecrire le fichier Resultats.html";
    EXPECT_EQ(result.console.substr(result.console.size() - tail.size()), tail);
    EXPECT_FALSE(dir.exists("discussions.html"));
}

TEST(RunSequence, NoPageOverwritesTheLogItWasMadeFrom) {
    TempDir dir;
    const std::string log = "[10:00:00] [TOUS]:  ]log name Boss1\n";
    dir.write("Boss1.html", log);
    ScriptedConsole console;
    console.key_at_ms = 0;
    console.words = {"Boss1.html"};
    EXPECT_EQ(run_command_line(console, {}, dir.path()), 0);
    EXPECT_EQ(dir.read("Boss1.html"), log);
    EXPECT_TRUE(dir.exists("Boss1_.html"));
    EXPECT_NE(console.output.find("Resultats.html, Boss1_.html,  et le chat"), std::string::npos);
}

TEST(FatalReport, WithAndWithoutALine) {
    ScriptedConsole console;
    report_fatal_error(console, FatalError{"", std::string("[10:00:00] x\n")});
    EXPECT_EQ(console.output, "\n\nERREUR\n\n\nl'erreur s'est produite dans la ligne : \n[10:00:00] x\n\n");
    console.output.clear();
    report_fatal_error(console, FatalError{"trop de sorts utilises", std::nullopt});
    EXPECT_EQ(console.output, "\n\nERREUR\n\ntrop de sorts utilises");
}

TEST(ExitWait, CountsDownAndStopsAtAKeyPress) {
    ScriptedConsole quiet;
    wait_before_exit(quiet);
    EXPECT_EQ(quiet.output, "\n\n\tfermeture automatique dans  \b5\b4\b3\b2\b1\b0");
    EXPECT_GE(quiet.clock_ms, 10000);
    EXPECT_LT(quiet.clock_ms, 10100);

    ScriptedConsole early;  // a key pressed before the wait
    early.key_at_ms = 0;
    wait_before_exit(early);
    EXPECT_EQ(early.output, "");

    ScriptedConsole during_quiet;
    during_quiet.key_at_ms = 3000;
    wait_before_exit(during_quiet);
    EXPECT_EQ(during_quiet.output, "");

    ScriptedConsole during_countdown;
    during_countdown.key_at_ms = 7500;  // 2.5 s into the countdown
    wait_before_exit(during_countdown);
    EXPECT_EQ(during_countdown.output, "\n\n\tfermeture automatique dans  \b5\b4\b3");
}

constexpr const char* kBannerText = "\nKORVANEL - statistiques du journal de jeu\n\n";

struct CommandRun {
    int status;
    ScriptedConsole console;
};

template <class ConsoleType = ScriptedConsole>
CommandRun run_with(const TempDir& dir, const std::vector<std::string>& args, ConsoleType console = {}) {
    std::vector<NativeString> native;
    for (const std::string& a : args) native.push_back(path_from_utf8(a).native());
    const int status = run_command_line(console, native, dir.path());
    return {status, console};
}

struct OwnWindowConsole : ScriptedConsole {
    bool alone_in_window() override { return true; }
};

TEST(CommandLineRun, AUsageErrorInAWindowOfItsOwnWaitsBeforeClosing) {
    TempDir dir;
    const CommandRun alone = run_with<OwnWindowConsole>(dir, {"a", "b"});
    EXPECT_EQ(alone.status, 2);
    EXPECT_EQ(alone.console.output, "\n\n\tfermeture automatique dans  \b5\b4\b3\b2\b1\b0");
    EXPECT_EQ(run_with<OwnWindowConsole>(dir, {"a", "b", "--no-wait"}).console.output, "");
    EXPECT_EQ(run_with(dir, {"a", "b"}).console.output, "");
}

TEST(CommandLineRun, HelpAndVersionReadNothing) {
    TempDir dir;
    dir.write("chat.log", "");
    const CommandRun help = run_with(dir, {"--version", "-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.console.output.rfind("usage : korvanel [-o DOSSIER] [--json] [--follow] [--no-wait] [FICHIER_LOG]\n", 0), 0u);
    EXPECT_EQ(help.console.errors, "");
    const CommandRun version = run_with(dir, {"-V"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.console.output, "korvanel 1.0.0\n");
    EXPECT_FALSE(dir.exists("Resultats.html"));
}

TEST(CommandLineRun, ALogThatIsNoFileOrAFolderInTheWayEndsTheRun) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "dossier");
    dir.write("chat.log", "");
    dir.write("fichier", "");
    // --no-wait: the report is the last thing printed, even without a key press
    const CommandRun folder_log = run_with(dir, {"--no-wait", "dossier"});
    EXPECT_EQ(folder_log.status, 1);
    EXPECT_EQ(folder_log.console.output,
              std::string(kBannerText) + "\n\nERREUR\n\nimpossible d'ouvrir le fichier dossier");
    const CommandRun in_the_way = run_with(dir, {"--no-wait", "-o", "fichier/pages"});
    EXPECT_EQ(in_the_way.status, 1);
    EXPECT_EQ(in_the_way.console.output,
              std::string(kBannerText) + "\n\nERREUR\n\nimpossible de creer le dossier fichier/pages");
    EXPECT_FALSE(dir.exists("Resultats.html"));
}

TEST(CommandLineRun, TheWorkingDirectoryIsKnownByIdentity) {
    TempDir dir;
    dir.write("chat.log", "");
    for (const auto& args : {std::vector<std::string>{"-o", "."}, {"./chat.log"}, {"--output=sub/..", "chat.log"}}) {
        std::filesystem::create_directory(dir.path() / "sub");
        const CommandRun run = run_with(dir, args);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.console.output.find("graphiques.html\n(dans le meme dossier)\n\n"), std::string::npos) << args[0];
    }
}

TEST(CommandLineRun, ALogNamedLikeTheChartsDataEndsTheRunOnlyWithJson) {
    TempDir dir;
    const std::string log = "[10:00:00] Vous encaissez 5 points de d\xe9g\xe2ts.\n";
    dir.write("Graphiques.JSON", log);
    EXPECT_EQ(run_with(dir, {"Graphiques.JSON"}).status, 0);
    EXPECT_EQ(dir.read("Graphiques.JSON"), log);
    const CommandRun json = run_with(dir, {"--json", "Graphiques.JSON"});
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.console.output.find("impossible d'ecrire le fichier graphiques.json"), std::string::npos);
    EXPECT_EQ(json.console.output.find("Lecture en cours"), std::string::npos);
    EXPECT_EQ(dir.read("Graphiques.JSON"), log);
}

TEST(CommandLineRun, TheLogsOwnFileCountsOnlyBesideThePages) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    dir.write("sub/discussions.html", "");
    dir.write("sub/resultats.html", "[10:00:00] x\n");
    // named like the transcript, but not where the transcript goes
    const CommandRun elsewhere = run_with(dir, {"sub/discussions.html", "-o", "."});
    EXPECT_EQ(elsewhere.status, 0);
    EXPECT_TRUE(dir.exists("discussions.html"));
    const CommandRun beside = run_with(dir, {"sub/resultats.html"});
    EXPECT_EQ(beside.status, 0);
    EXPECT_EQ(dir.read("sub/resultats.html"), "[10:00:00] x\n");
    EXPECT_TRUE(dir.exists("sub/Resultats_.html"));
    EXPECT_NE(beside.console.output.find("Resultats_.html,  et le chat dans discussions.html\n"
                                         "et les graphiques dans graphiques.html\n(dans le dossier sub)"),
              std::string::npos);
}

// The log's file under a page's name (a hard link) is still the log: the
// part's page takes another name, and the charts page cannot be written.
TEST(CommandLineRun, TheLogUnderAPagesNameIsTheLog) {
    TempDir dir;
    const std::string log = "[10:00:00] x\n";
    dir.write("chat.log", log);
    std::filesystem::create_hard_link(dir.path() / "chat.log", dir.path() / "Resultats.html");
    const CommandRun part = run_with(dir, {"--no-wait"});
    EXPECT_EQ(part.status, 0);
    EXPECT_EQ(dir.read("Resultats.html"), log);
    EXPECT_TRUE(dir.exists("Resultats_.html"));
    std::filesystem::remove(dir.path() / "graphiques.html");
    std::filesystem::create_hard_link(dir.path() / "chat.log", dir.path() / "graphiques.html");
    const CommandRun charts = run_with(dir, {"--no-wait"});
    EXPECT_EQ(charts.status, 1);
    EXPECT_TRUE(charts.console.output.ends_with("impossible d'ecrire le fichier graphiques.html")) << charts.console.output;
    EXPECT_EQ(dir.read("chat.log"), log);
}

TEST(CommandLineRun, PagesGoBesideALogGivenByItsFullPathAndShowItsFileNameCut) {
    TempDir work;
    TempDir logs;
    const std::string long_name(70, 'n');
    logs.write(long_name, "");
    const std::string log_path = (logs.path() / long_name).string();
    const CommandRun run = run_with(work, {log_path});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(logs.read("Resultats.html").find("<title>Analyse du fichier " + long_name.substr(0, 63) + "</title>"),
              std::string::npos);
    EXPECT_NE(run.console.output.find("(dans le dossier " + logs.path().string() + ")"), std::string::npos);
    EXPECT_FALSE(work.exists("Resultats.html"));
}

TEST(CommandLineRun, ALogTypedAtThePromptIsTakenLikeOne) {
    TempDir dir;
    dir.write("Discussions.HTML", "");
    ScriptedConsole console;
    console.words = {"Discussions.HTML"};
    const CommandRun run = run_with(dir, {"--no-wait"}, console);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.console.output, std::string(kBannerText) + kPrompt +
                                      "\n\nERREUR\n\nimpossible d'ecrire le fichier discussions.html");
}

#ifndef _WIN32
// A page named by a link replaces the link, never what it points to, and a
// dangling link creates nothing where it points.
TEST(CommandLineRun, APageThatIsALinkReplacesTheLink) {
    TempDir dir;
    TempDir elsewhere;
    dir.write("chat.log", "");
    elsewhere.write("precious.txt", "keep me");
    std::filesystem::create_symlink(elsewhere.path() / "precious.txt", dir.path() / "Resultats.html");
    std::filesystem::create_symlink(elsewhere.path() / "nothing.html", dir.path() / "discussions.html");
    EXPECT_EQ(run_with(dir, {"--no-wait"}).status, 0);
    EXPECT_EQ(elsewhere.read("precious.txt"), "keep me");
    EXPECT_FALSE(elsewhere.exists("nothing.html"));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.path() / "Resultats.html")));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.path() / "discussions.html")));
}

// A log whose reads fail ends the run with no page: it is not taken for a
// short log.
TEST(CommandLineRun, ALogThatCannotBeReadIsAnError) {
    if (!std::filesystem::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc/self/mem";
    TempDir dir;
    const CommandRun run = run_with(dir, {"--no-wait", "-o", dir.path().string(), "/proc/self/mem"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.console.output.ends_with("Lecture en cours\n\nERREUR\n\nerreur de lecture du fichier mem"))
        << run.console.output;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// A disk that fills up while the pages are written leaves the pages of the
// run before exactly as they were, and no temporary file.
TEST(CommandLineRun, AFullDiskLeavesTheEarlierPagesAsTheyWere) {
    TempDir dir;
    dir.write("chat.log", "[10:00:00] Vous attaquez le loup avec votre hache, 12 (+1)\n");
    ASSERT_EQ(run_with(dir, {"--no-wait"}).status, 0);
    const std::string earlier = dir.read("Resultats.html");
    dir.write("chat.log", "[10:00:00] Vous attaquez le loup avec votre hache, 15 (+1)\n");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;  // writes past it fail with EFBIG
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CommandRun full = run_with(dir, {"--no-wait"});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.console.output.ends_with("impossible d'ecrire le fichier Resultats.html")) << full.console.output;
    EXPECT_EQ(dir.read("Resultats.html"), earlier);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".korvanel-")) << entry.path();
    }
}
#endif

}  // namespace
}  // namespace korvanel
