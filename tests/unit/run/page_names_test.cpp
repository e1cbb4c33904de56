#include "run/page_names.h"

#include <gtest/gtest.h>

#include "text/latin1.h"
#include "system/system_names.h"

namespace korvanel {
namespace {

std::vector<std::string> display_names(const std::vector<PageTarget>& targets) {
    std::vector<std::string> names;
    for (const PageTarget& target : targets) names.push_back(target.display_name);
    return names;
}

TEST(PageNames, LinksEncodeWhatAUrlWouldReadAsSyntax) {
    constexpr auto kCafe = latin1("café");
    const auto targets = assign_page_targets({"Resultats", "100% #2", std::string(kCafe.view())}, "/tmp/pages");
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[1].display_name, "100% #2.html");
    EXPECT_EQ(targets[1].link, "100%25 %232");
    EXPECT_EQ(targets[1].file, "/tmp/pages/100% #2.html");
    // Latin-1 in the page and its messages, UTF-8 on disk
    EXPECT_EQ(targets[2].display_name, std::string(kCafe.view()) + ".html");
    EXPECT_EQ(targets[2].link, kCafe.view());
    EXPECT_EQ(targets[2].file, path_from_utf8("/tmp/pages/caf\xC3\xA9.html"));
}

TEST(PageNames, CharactersNoSystemTakesInAFileNameBecomeUnderscores) {
    const auto targets = assign_page_targets({"a\tb\x7F" "c\x85\xA0", "..\\x", "a_b_c_\xA0", "1:2*3?4\"5<6>7|8/9"}, "/p");
    EXPECT_EQ(display_names(targets),
              (std::vector<std::string>{"a_b_c_\xA0.html", ".._x.html", "a_b_c_\xA0_.html", "1_2_3_4_5_6_7_8_9.html"}));
    EXPECT_EQ(targets[0].file, path_from_utf8("/p/a_b_c_\xC2\xA0.html"));
}

TEST(PageNames, DeviceNamesGetAnUnderscoreAfterTheDevice) {
    const auto targets = assign_page_targets(
        {"con", "aux.txt", "Nul ", "com10", "LPT\xB9", "com0.a.b", "prn_", "coma", "x.con", "NUL  .x", "con_"}, "/p");
    EXPECT_EQ(display_names(targets),
              (std::vector<std::string>{"con_.html", "aux_.txt.html", "Nul_ .html", "com10.html", "LPT\xB9_.html",
                                        "com0_.a.b.html", "prn_.html", "coma.html", "x.con.html", "NUL_  .x.html",
                                        "con__.html"}));
}

TEST(PageNames, ANameTakenInAnotherCaseIsTaken) {
    const auto targets = assign_page_targets(
        {"Resultats", "RESULTATS", "\xC9p\xE9" "e", "\xE9P\xC9" "E", "\xD7", "\xF7", "\xDF", "\xFF", "DISCUSSIONS",
         "Graphiques"}, "/p");
    EXPECT_EQ(display_names(targets),
              (std::vector<std::string>{"Resultats.html", "RESULTATS_.html", "\xC9p\xE9" "e.html", "\xE9P\xC9" "E_.html",
                                        "\xD7.html", "\xF7.html", "\xDF.html", "\xFF.html", "DISCUSSIONS_.html",
                                        "Graphiques_.html"}));
}

TEST(PageNames, TheLogBesideThePagesIsTakenWhateverItsCase) {
    const auto targets = assign_page_targets({"Resultats", "Boss"}, "/p", "resultats.HTML");
    EXPECT_EQ(display_names(targets), (std::vector<std::string>{"Resultats_.html", "Boss.html"}));
}

// A name the log's own file holds, under whatever name, is taken too.
TEST(PageNames, ANameTheLogsFileHoldsIsTaken) {
    const auto is_log = [](const std::filesystem::path& file) { return file.filename() == "Boss.html"; };
    const auto targets = assign_page_targets({"Boss", "Resultats", "Boss_"}, "/p", {}, is_log);
    EXPECT_EQ(display_names(targets), (std::vector<std::string>{"Boss_.html", "Resultats.html", "Boss__.html"}));
}

}  // namespace
}  // namespace korvanel
