#include <gtest/gtest.h>

#include <string>

#include "report/page_sink.h"

namespace korvanel {
namespace {

constexpr std::string_view kHead =
    "<html><head><title>t</title><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
    "</head><body>";

TEST(ReloadingPages, TheReloadLineFollowsTheContentTypeOfHtmlPagesOnlyAndComesOutAgain) {
    MemoryPageSink memory;
    ReloadingPageSink pages(memory);
    const std::string body = "<p>un texte qui cite charset=iso-8859-1\"> encore</p></body></html>";
    ASSERT_TRUE(pages.begin("a.html", "a.html"));
    ASSERT_TRUE(pages.write(kHead));
    ASSERT_TRUE(pages.write(body));
    ASSERT_TRUE(pages.end());
    ASSERT_TRUE(pages.begin("graphiques.json", "graphiques.json"));
    ASSERT_TRUE(pages.write("{\"log\":\"<html> content=\\\"text/html; charset=iso-8859-1\\\">\"}\n"));
    ASSERT_TRUE(pages.end());

    const std::string& page = memory.pages.at(0).second;
    EXPECT_EQ(page, std::string(kHead.substr(0, kHead.find("</head>"))) + "<meta http-equiv=\"refresh\" content=\"5\">" +
                        "</head><body>" + body);
    EXPECT_EQ(without_reload_line(page), std::string(kHead) + body);
    EXPECT_EQ(memory.pages.at(1).second, "{\"log\":\"<html> content=\\\"text/html; charset=iso-8859-1\\\">\"}\n");
    // A reload line that does not follow the head is text of the page.
    const std::string in_text = std::string(kHead) + "x<meta http-equiv=\"refresh\" content=\"5\">";
    EXPECT_EQ(without_reload_line(in_text), in_text);
}

}  // namespace
}  // namespace korvanel
