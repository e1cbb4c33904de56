#include "run/page_names.h"

#include <gtest/gtest.h>

#include "text/latin1.h"
#include "text/system_names.h"

namespace korvanel {
namespace {

TEST(PageNames, LinksEncodeWhatAUrlWouldReadAsSyntax) {
    constexpr auto kCafe = latin1("café");
    const auto targets = assign_page_targets({"Resultats", "100% #2 ?", std::string(kCafe.view())}, "/tmp/pages");
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[1].display_name, "100% #2 ?.html");
    EXPECT_EQ(targets[1].link, "100%25 %232 %3F");
    EXPECT_EQ(targets[1].file, "/tmp/pages/100% #2 ?.html");
    // Latin-1 in the page and its messages, UTF-8 on disk
    EXPECT_EQ(targets[2].display_name, std::string(kCafe.view()) + ".html");
    EXPECT_EQ(targets[2].link, kCafe.view());
    EXPECT_EQ(targets[2].file, path_from_utf8("/tmp/pages/caf\xC3\xA9.html"));
}

TEST(PageNames, ControlCharactersAndSeparatorsBecomeUnderscores) {
    const auto targets = assign_page_targets({"a\tb\x7F" "c\x85\xA0", "..\\x", "a_b_c_\xA0"}, "/p");
    EXPECT_EQ(targets[0].display_name, "a_b_c_\xA0.html");
    EXPECT_EQ(targets[1].display_name, ".._x.html");
    EXPECT_EQ(targets[2].display_name, "a_b_c_\xA0_.html");  // taken by the first part
    EXPECT_EQ(targets[0].file, path_from_utf8("/p/a_b_c_\xC2\xA0.html"));
}

}  // namespace
}  // namespace korvanel
