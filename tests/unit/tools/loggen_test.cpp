#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "loggen_lib.h"
#include "test_support.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

using loggen::generate_log_text;
using loggen::Options;
using testing::run_on;
using testing::TempDir;

Options options(std::uint64_t lines, std::uint64_t seed, int parts = 1) {
    Options o;
    o.lines = lines;
    o.seed = seed;
    o.parts = parts;
    return o;
}

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end == std::string_view::npos ? text.size() : end + 1));
        text.remove_prefix(lines.back().size());
    }
    return lines;
}

bool is_stored_line(std::string_view line) {
    return line.starts_with("*** Journal ouvert : ") || (line.size() > 12 && line.substr(11).starts_with("@@"));
}

TEST(LogGenerator, ExactLineCountAndTheSameBytesForTheSameSeed) {
    for (std::uint64_t lines : {0, 1, 7, 2500}) {
        const std::string text = generate_log_text(options(lines, 5));
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(lines)) << lines;
        EXPECT_TRUE(text.empty() || text.back() == '\n');
        EXPECT_EQ(generate_log_text(options(lines, 5)), text) << lines;
    }
    EXPECT_NE(generate_log_text(options(2500, 6)), generate_log_text(options(2500, 5)));
    EXPECT_EQ(generate_log_text(options(3000, 5, 10)), generate_log_text(options(3000, 5, 10)));
}

// Every line stays one line for the reader (at most 298 characters and its
// line break), carries its time stamp, and is written in ISO-8859-1.
TEST(LogGenerator, LinesAreWholeTimeStampedLatin1) {
    const std::string text = generate_log_text(options(20000, 3, 10));
    for (std::string_view line : split_lines(text)) {
        ASSERT_LE(line.size(), 299u) << line;
        if (line.starts_with("*** Journal ")) continue;
        ASSERT_TRUE(line.size() > 12 && line[0] == '[' && line[3] == ':' && line[6] == ':' && line[9] == ']' &&
                    line[10] == ' ')
            << line;
    }
    constexpr auto kAccented = latin1("é");
    EXPECT_NE(text.find(kAccented.view()), std::string::npos);
    EXPECT_EQ(text.find("\xC3\xA9"), std::string::npos);  // no UTF-8 left
}

TEST(LogGenerator, AFewThousandLinesHoldEveryFamily) {
    const std::string text = generate_log_text(options(10000, 9));
    constexpr auto kStyle = latin1("Vous exécutez parfaitement votre ");
    constexpr auto kSpellCrit = latin1("Votre sort de dégâts répétés a réussi parfaitement");
    constexpr auto kExperience = latin1(" points d'expérience.");
    constexpr auto kKilledIn = latin1(" vient juste d'être tué dans [");
    constexpr auto kDuel = latin1("Votre duel est terminé!");
    constexpr auto kSkill = latin1("Vous devenez plus doué en ");
    const std::string_view family_texts[] = {
        "Vous attaquez ", kStyle, "Vous ratez votre coup", "esquive votre attaque", "Vous tirez sur ",
        "Vous allez tirer et recharger automatiquement", "Vous lancez le sort ", "Vous frappez et infligez ",
        "Vous touchez ", kSpellCrit, "Vous soignez ", "Vous vous soignez", "n'a plus besoin de soins.",
        "Vous encaissez ", "vous attaque avec son arme", "vous frappe ", " meurt !", kExperience, "(bonus de camp",
        "Vous ramassez ", "Votre part du butin se compose de ", " laisse ", " realm points!", kKilledIn,
        "Vous venez de tuer ", "vient de mourir", kDuel, "Vous commencez le travail sur ",
        kSkill, "@@[Guilde] ", "@@[Discussion] ", "@@[Groupe] ", "@@[Alliance] ",
        "envoie, \"", "dit, \"", ": **", "*** Journal ouvert : "};
    for (std::string_view family_text : family_texts) {
        EXPECT_NE(text.find(family_text), std::string::npos) << family_text;
    }
    EXPECT_EQ(text.find("]log "), std::string::npos);  // a single part: no part command
}

TEST(LogGenerator, BudgetsCapChatAndRealmAwards) {
    Options tight = options(20000, 4);
    tight.storedLineBudget = 50;
    tight.realmAwardBudget = 3;
    const std::string text = generate_log_text(tight);
    const std::vector<std::string_view> lines = split_lines(text);
    EXPECT_EQ(lines.size(), 20000u);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), is_stored_line), 50);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](std::string_view line) { return line.find(" realm point") != std::string_view::npos; }),
              3);
    // per part: three awards in each of two parts
    tight.parts = 2;
    const std::string two_parts = generate_log_text(tight);
    const std::size_t cut = two_parts.find("]log name ");
    ASSERT_NE(cut, std::string::npos);
    const auto awards = [](std::string_view part) {
        std::size_t count = 0;
        for (std::size_t at = part.find(" realm point"); at != std::string_view::npos;
             at = part.find(" realm point", at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(awards(std::string_view(two_parts).substr(0, cut)), 3u);
    EXPECT_EQ(awards(std::string_view(two_parts).substr(cut)), 3u);
}

TEST(LogGenerator, AnUnboundedLogHasNoBudgetAndTheChatOfASociablePlayer) {
    Options wide = options(20000, 4);
    wide.storedLineBudget = 50;
    wide.realmAwardBudget = 3;
    wide.unbounded = true;
    const std::string text = generate_log_text(wide);
    const std::vector<std::string_view> lines = split_lines(text);
    const auto stored = std::count_if(lines.begin(), lines.end(), is_stored_line);
    EXPECT_GT(stored, 20000 * 15 / 100);
    EXPECT_LT(stored, 20000 * 25 / 100);
    EXPECT_GT(std::count_if(lines.begin(), lines.end(),
                            [](std::string_view line) { return line.find(" realm point") != std::string_view::npos; }),
              3);
}

int stamp_seconds(std::string_view line) {
    return ((line[1] - '0') * 10 + (line[2] - '0')) * 3600 + ((line[4] - '0') * 10 + (line[5] - '0')) * 60 +
           (line[7] - '0') * 10 + (line[8] - '0');
}

// The client's date "Fri Sep 16 17:34:31 2022" as seconds since 1970, its
// weekday checked against the calendar.
long long opening_time(std::string_view date) {
    using namespace std::chrono;
    static constexpr std::string_view kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    EXPECT_EQ(date.size(), 24u) << date;
    if (date.size() != 24u) return 0;
    const auto number = [&date](std::size_t at, std::size_t digits) { return std::stoi(std::string(date.substr(at, digits))); };
    const year_month_day day{year{number(20, 4)}, month{static_cast<unsigned>(kMonths.find(date.substr(4, 3)) / 3 + 1)},
                             std::chrono::day{static_cast<unsigned>(number(8, 2))}};
    EXPECT_TRUE(day.ok()) << date;
    EXPECT_EQ(kWeekdays[weekday{sys_days{day}}.c_encoding()], date.substr(0, 3)) << date;
    return sys_days{day}.time_since_epoch().count() * 86400LL + number(11, 2) * 3600 + number(14, 2) * 60 +
           number(17, 2);
}

// Within a session the clock only moves forward; every session opens after
// the previous one closed, on a real calendar date.
TEST(LogGenerator, SessionsFollowEachOtherInTime) {
    constexpr auto kClosed = latin1("*** Journal fermé : ");
    const std::string text = generate_log_text(options(30000, 8));
    long long last_close = 0;
    int previous = -1, sessions = 0;
    for (std::string_view line : split_lines(text)) {
        line.remove_suffix(1);
        if (line.starts_with("*** Journal ouvert : ")) {
            EXPECT_GT(opening_time(line.substr(21)), last_close) << line;
            previous = -1;
            ++sessions;
        } else if (line.starts_with(kClosed.view())) {
            last_close = opening_time(line.substr(kClosed.size()));
        } else {
            const int now = stamp_seconds(line);
            if (previous >= 0) {
                EXPECT_LT((now - previous + 86400) % 86400, 3600) << line;
            }
            previous = now;
        }
    }
    EXPECT_GE(sessions, 5);
}

// What the analysis ties together by the second is written in the same
// second: a realm award and the kill it is for, a heal and its cast.
TEST(LogGenerator, ResultsShareTheSecondOfWhatTheyFollow) {
    constexpr auto kKilledIn = latin1(" vient juste d'être tué dans [");
    const std::string text = generate_log_text(options(30000, 12));
    std::string_view last_kill, last_cast;
    int awards = 0, heals = 0, heals_in_cast_second = 0;
    for (std::string_view line : split_lines(text)) {
        if (line.find("vient de mourir") != std::string_view::npos || line.find(kKilledIn.view()) != std::string_view::npos) {
            last_kill = line;
        } else if (line.find(" realm point") != std::string_view::npos) {
            ++awards;
            EXPECT_EQ(line.substr(0, 10), last_kill.substr(0, 10)) << line;
        } else if (line.find("] Vous lancez le sort ") != std::string_view::npos) {
            last_cast = line;
        } else if (line.find("] Vous soignez ") != std::string_view::npos ||
                   line.find("] Vous vous soignez ") != std::string_view::npos) {
            ++heals;
            heals_in_cast_second += line.substr(0, 10) == last_cast.substr(0, 10) ? 1 : 0;
        }
    }
    EXPECT_GT(awards, 20);
    EXPECT_GT(heals, 100);
    EXPECT_GT(heals_in_cast_second * 100, heals * 90);  // a few heals come a second late
}

// However long the log, the names it uses stay within the tables of one
// part: 80 spells, 500 monsters, 100 loot names a monster, 200 crafted items,
// 10 crafting skills, 20 weapons, 1000 killers.
TEST(LogGenerator, NamesStayWithinTheTablesOfAPart) {
    constexpr auto kDies = latin1(" meurt !");
    constexpr auto kKilledIn = latin1(" vient juste d'être tué dans [");
    constexpr auto kSkill = latin1("Vous devenez plus doué en ");
    const std::string text = generate_log_text(options(200000, 2));
    std::set<std::string_view> spells, monsters, weapons, items, skills, killers;
    std::map<std::string_view, std::set<std::string_view>> loot;
    std::string_view monster;
    const auto between = [](std::string_view line, std::string_view from, std::string_view to) {
        const std::size_t start = line.find(from) + from.size();
        return line.substr(start, line.find(to, start) - start);
    };
    for (std::string_view line : split_lines(text)) {
        const std::string_view message = line.substr(std::min<std::size_t>(11, line.size()));
        if (message.starts_with("Vous lancez le sort ")) spells.insert(between(line, "le sort ", " !"));
        if (line.find(kDies.view()) != std::string_view::npos) monster = *monsters.insert(between(line, "] ", kDies)).first;
        if (message.find(" laisse ") != std::string_view::npos) loot[monster].insert(between(line, " laisse ", "."));
        if ((message.starts_with("Vous attaquez ") || message.starts_with("Vous tirez sur ")) &&
            message.find(", ") != std::string_view::npos) {
            weapons.insert(between(line, "votre ", ","));
        }
        if (message.starts_with("Vous commencez le travail sur ")) items.insert(between(line, "travail sur ", "."));
        if (message.starts_with(kSkill.view())) skills.insert(between(line, kSkill, "!"));
        if (line.find(kKilledIn.view()) != std::string_view::npos) killers.insert(between(line, "] par ", "!"));
    }
    EXPECT_LE(spells.size(), 80u);
    EXPECT_LE(monsters.size(), 500u);
    EXPECT_LE(weapons.size(), 20u);
    EXPECT_LE(items.size(), 200u);
    EXPECT_LE(skills.size(), 10u);
    EXPECT_LE(killers.size(), 1000u);
    for (const auto& [name, names] : loot) EXPECT_LE(names.size(), 100u) << name;
    EXPECT_GT(spells.size() * monsters.size() * weapons.size() * items.size() * skills.size() * killers.size(), 0u);
}

// The analysis runs a generated log to its end: no line is cut wrongly, in
// one part or in ten.
TEST(LogGenerator, AGeneratedLogRunsToTheEnd) {
    for (int parts : {1, 10}) {
        TempDir dir;
        const auto result = run_on(dir, generate_log_text(options(4000, 21, parts)));
        EXPECT_EQ(result.status, 0) << result.console;
        EXPECT_EQ(result.console.find("ERREUR"), std::string::npos);
        int pages = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            pages += entry.path().extension() == ".html" ? 1 : 0;
        }
        EXPECT_EQ(pages, parts + 2) << parts;  // the analysis pages, the transcript and the charts
        EXPECT_TRUE(dir.exists("Resultats.html"));
        if (parts == 10) {
            // one part is named after the target selected just before its command
            EXPECT_TRUE(dir.exists("Seigneur Morvach.html"));
            // the first part is taken up again in the middle of the second
            std::vector<std::string> announced;
            constexpr std::string_view kNewPart = "nouvelle partie de log : ";
            for (std::size_t at = result.console.find(kNewPart); at != std::string::npos;
                 at = result.console.find(kNewPart, at + 1)) {
                const std::size_t start = at + kNewPart.size();
                announced.push_back(result.console.substr(start, result.console.find_first_of(".\n", start) - start));
            }
            ASSERT_GE(announced.size(), 4u);
            constexpr auto kSecondPart = latin1("Siège de Karnhold");
            EXPECT_EQ(std::vector<std::string>(announced.begin(), announced.begin() + 4),
                      (std::vector<std::string>{"Donjon des Brumes", "Resultats", "Donjon des Brumes",
                                                std::string(kSecondPart.view())}));
        }
    }
}

}  // namespace
}  // namespace korvanel
