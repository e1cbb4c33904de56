#include "chat/transcript.h"

#include <array>
#include <optional>

#include "analysis/log_line.h"
#include "chat/date.h"
#include "report/page_writer.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kHeader = latin1(
    "<html><head><title>Discussions du fichier %s</title><meta http-equiv=\"Content-Type\" "
    "content=\"text/html; charset=iso-8859-1\"></head><body bgcolor=\"#EFEFEF\" text=\"#074385\" "
    "vlink=\"#0066FF\"><a name=\"sommaire\"></a>");
constexpr std::string_view kLinkRow = "<td width=\"100\"><a href=\"./discussions.html#balise%i\">%s </a></td>";
constexpr std::string_view kHeading =
    "<br><b><a name=\"balise%i\"></a>%s</b> (<i><a href=\"./discussions.html#sommaire\">retour sommaire</a></i>)<br>";
constexpr std::string_view kDateOpen = "<br><font size=\"2\"><i>";
constexpr std::string_view kDateClose = "</i></font><br>";
constexpr std::string_view kMessage = "<font size=2><i>%s</i> - <b>%s%s</b> : %s</font><br>";
constexpr std::string_view kBreak = "<br>";

constexpr auto kJournalOpened = latin1("*** Journal ouvert : ");
constexpr std::string_view kChatMark = "@@";
constexpr auto kYouSay = latin1("Vous dîtes");
constexpr auto kYouSayOpener = latin1("dîtes, \"");
constexpr std::string_view kPrivateOpener = ", \"";
constexpr auto kRecipient = latin1("\" à ");

constexpr std::size_t kSpeakerBound = 49;
constexpr std::size_t kSuffixBound = 49;
constexpr std::size_t kMessageBound = 299;
constexpr std::size_t kTimeColumn = 1;
constexpr std::size_t kTimeLength = 8;

// Private messages take their text after ", \"" and may name a recipient;
// general chat also lists what the player said ("Vous dîtes").
enum class Rule { Plain, Private, General };

struct ChatChannel {
    std::string_view title;        // link text and section heading
    std::string_view label;        // console progress label
    std::string_view prefix;       // the message text begins with it
    std::string_view speaker_end;  // the speaker runs up to its first occurrence
    std::string_view opener;       // stands at the speaker end; the message follows it
    std::string_view closer;       // ends the message
    Rule rule;
};

constexpr auto kPrivateTitle = latin1("Messages privés");
constexpr auto kGeneralTitle = latin1("Chat Général");
constexpr auto kRegionTitle = latin1("Chat Région");
constexpr std::array<ChatChannel, 7> kChannels{{
    {"Chat Guilde", "du chat Guilde", "@@[Guilde] ", " : \"", " : \"", "\"", Rule::Plain},
    {"Chat Amis", "du chat Amis", "@@[Discussion] ", " : \"", " : \"", "\"", Rule::Plain},
    {"Chat Groupe", "du chat Groupe", "@@[Groupe] ", " : \"", " : \"", "\"", Rule::Plain},
    {kPrivateTitle, "des messages prives", "@@", " ", " envo", "\"", Rule::Private},
    {"Chat Alliance", "du chat Alliance", "@@[Alliance] ", " : \"", " : \"", "\"", Rule::Plain},
    {kGeneralTitle, "du chat General", "@@", " ", " dit, \"", "\"", Rule::General},
    {kRegionTitle, "du chat Region", "@@", ":", ": **", "**", Rule::Plain},
}};

struct ChatEntry {
    std::string_view speaker;
    std::string_view suffix;
    std::string_view text;
};

// The column of the channel's speaker end when the line is one of the
// channel's messages.
std::optional<std::size_t> speaker_end_of(const LogLine& line, const ChatChannel& channel) {
    if (!line.message_starts_with(channel.prefix)) return std::nullopt;
    const std::size_t after_prefix = kMessageColumn + channel.prefix.size();
    const std::size_t end = line.find(channel.speaker_end, after_prefix);
    if (end == kNotFound) return std::nullopt;
    if (line.has_at(end, channel.opener)) return end;
    if (channel.rule == Rule::General && line.has_at(after_prefix, kYouSay)) return end;
    return std::nullopt;
}

// Column just after `opener` found at or after `from`; a line without it
// cannot be cut.
std::size_t after_required(const LogLine& line, std::string_view opener, std::size_t from) {
    const std::size_t at = line.find(opener, from);
    if (at == kNotFound) fatal_error("", line.text());
    return at + opener.size();
}

ChatEntry cut_entry(const LogLine& line, const ChatChannel& channel, std::size_t speaker_end) {
    const std::size_t after_prefix = kMessageColumn + channel.prefix.size();
    std::size_t start = speaker_end + channel.opener.size();
    if (channel.rule == Rule::Private) {
        start = after_required(line, kPrivateOpener, speaker_end);
    } else if (channel.rule == Rule::General && line.has_at(after_prefix, kYouSay)) {
        start = after_required(line, kYouSayOpener, speaker_end);
    }
    ChatEntry entry;
    entry.speaker = cut_to(line.slice(after_prefix, speaker_end), kSpeakerBound);
    const std::size_t close = line.find(channel.closer, start);
    if (close == kNotFound) {
        // A message whose closing text was cut off with the end of a long
        // line runs to the end of what was kept.
        entry.text = cut_to(line.rest_from(start), kMessageBound);
        return entry;
    }
    entry.text = cut_to(line.slice(start, close), kMessageBound);
    if (channel.rule == Rule::Private && line.has_at(close, kRecipient)) {
        entry.suffix = cut_to(line.text().substr(close + 1), kSuffixBound);
    }
    return entry;
}

void write_date(PageWriter& page, const LogDate& date) {
    const std::string_view text = date.text.view();
    page.raw(kDateOpen);
    if (date.converted() && text.substr(date.markup_from) == kBreak) {
        page.escaped(text.substr(0, date.markup_from));
        page.raw(kBreak);
    } else {
        page.escaped(text);
    }
    page.raw(kDateClose);
}

class Progress {
public:
    explicit Progress(Console& console) : console_(console) {}
    void step() {
        if (++count_ == 100) {
            console_.write(".");
            count_ = 0;
        }
    }

private:
    Console& console_;
    int count_ = 0;
};

void write_channel(PageWriter& page, const ChatBuffer& chat, int number, Progress& progress, Console& console) {
    const ChatChannel& channel = kChannels[static_cast<std::size_t>(number)];
    LogDate date;
    bool date_pending = false;
    bool heading_written = false;
    print(console, "analyse %s", channel.label);
    for (int i = 0; i < chat.count(); ++i) {
        const LogLine line(chat.line(i));
        progress.step();
        if (line.starts_with(kJournalOpened)) {
            date = LogDate{};
            date.text = line.text();
            convert_log_date(date, line.text(), console);
            date_pending = true;
        }
        if (!line.message_starts_with(kChatMark)) continue;
        const std::optional<std::size_t> speaker_end = speaker_end_of(line, channel);
        if (!speaker_end) continue;
        if (!heading_written) {
            heading_written = true;
            page.format(kHeading, number, channel.title);
        }
        if (date_pending) {
            write_date(page, date);
            date_pending = false;
        }
        const ChatEntry entry = cut_entry(line, channel, *speaker_end);
        page.format(kMessage, line.slice(kTimeColumn, kTimeColumn + kTimeLength), entry.speaker, entry.suffix,
                    entry.text);
    }
    console.write("\n");
}
}  // namespace

void write_discussions_page(const ChatBuffer& chat, std::string_view log_name, const std::filesystem::path& dir,
                            Console& console, PageSink& sink) {
    PageWriter page(sink, dir / "discussions.html", "discussions.html");
    page.format(kHeader, log_name);
    page.raw("<table><tr align=\"center\">");
    for (int number = 0; number < static_cast<int>(kChannels.size()); ++number) {
        page.format(kLinkRow, number, kChannels[static_cast<std::size_t>(number)].title);
    }
    page.raw("</tr></table>");
    console.write("\n");
    Progress progress(console);
    for (int number = 0; number < static_cast<int>(kChannels.size()); ++number) {
        write_channel(page, chat, number, progress, console);
    }
    page.raw("</html>");
    page.close();
}

}  // namespace korvanel
