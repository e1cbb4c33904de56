#include "chat/transcript.h"

#include "report/page_writer.h"
#include "run/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kHeader = latin1(
    "<html><head><title>Discussions du fichier %s</title><meta http-equiv=\"Content-Type\" "
    "content=\"text/html; charset=iso-8859-1\"></head><body bgcolor=\"#EFEFEF\" text=\"#074385\" "
    "vlink=\"#0066FF\"><a name=\"sommaire\"></a>");

struct ChatChannel {
    std::string_view title;
    std::string_view label;
};
constexpr auto kGuildTitle = latin1("Chat Guilde");
constexpr auto kPrivateTitle = latin1("Messages privés");
constexpr auto kGeneralTitle = latin1("Chat Général");
constexpr auto kRegionTitle = latin1("Chat Région");
const ChatChannel kChannels[7] = {
    {kGuildTitle, "du chat Guilde"},     {"Chat Amis", "du chat Amis"},
    {"Chat Groupe", "du chat Groupe"},   {kPrivateTitle, "des messages prives"},
    {"Chat Alliance", "du chat Alliance"}, {kGeneralTitle, "du chat General"},
    {kRegionTitle, "du chat Region"},
};
}  // namespace

void write_discussions_page(const ChatBuffer& chat, std::string_view log_name, const std::filesystem::path& dir,
                            Console& console) {
    PageWriter page(dir / "discussions.html", "discussions.html");
    page.format(kHeader, log_name);
    page.raw("<table><tr align=\"center\">");
    for (int channel = 0; channel < 7; ++channel) {
        page.format("<td width=\"100\"><a href=\"./discussions.html#balise%i\">%s </a></td>", channel,
                    kChannels[channel].title);
    }
    page.raw("</tr></table>");
    console.write("\n");
    int progress = 0;
    for (const ChatChannel& channel : kChannels) {
        print(console, "analyse %s", channel.label);
        for (int i = 0; i < chat.count(); ++i) {
            if (++progress == 100) {
                console.write(".");
                progress = 0;
            }
        }
        console.write("\n");
    }
    page.raw("</html>");
    page.close();
}

}  // namespace korvanel
