#include "run/run.h"

#include <new>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "chat/chat_buffer.h"
#include "chat/transcript.h"
#include "report/analysis_page.h"
#include "run/log_parts.h"
#include "run/log_open.h"
#include "run/log_reader.h"
#include "run/exit_wait.h"
#include "run/page_names.h"
#include "stats/value_series.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kBanner = latin1("\nKORVANEL - statistiques du journal de jeu\n\n");
constexpr auto kReading = latin1("Lecture en cours");
constexpr auto kWritingPart = latin1("\nanalyse et ecriture de la partie de log nommee \"%s\"\n");
constexpr auto kProcessingTime = latin1("\n\nTemps de traitement: %i,%is");
constexpr auto kDoneHead = latin1("\n\nTraitement termine avec succes\n\nlire l'analyse dans les fichiers ");
constexpr auto kDoneTail =
    latin1(" et le chat dans discussions.html\n(dans le meme dossier)\n\nappuyez sur une touche pour quitter");
constexpr auto kChatFull = latin1("trop de lignes de chat");
constexpr auto kJournalOpened = latin1("*** Journal ouvert : ");

struct WarningScope {
    explicit WarningScope(Console& console) { set_warning_console(&console); }
    ~WarningScope() { set_warning_console(nullptr); }
};

// The run itself; fatal conditions leave it as FatalError.
int run_sequence(Console& console, const std::filesystem::path& dir) {
    std::unique_ptr<ChatBuffer> chat;
    try {
        chat = std::make_unique<ChatBuffer>();
    } catch (const std::bad_alloc&) {
        fatal_error("memoire insuffisante");
    }
    Name49 target{"Inconnu"};
    PartTable parts;
    parts.names[0] = "Resultats";
    console.write(kBanner);
    parts.stats[0] = new_part_stats();

    const OpenedLog log = open_log(dir, console);
    const std::string& log_name = log.shown;
    LogReader reader(log.file);
    const std::int64_t start = console.now_ms();
    console.write(kReading);

    int progress = 0;
    LogLine line;
    while (reader.next(line)) {
        select_log_part(line, parts, target, console);
        const bool chat_line = line.message_starts_with("@@");
        if (!chat_line) dispatch_line(line, parts.current_stats());
        if (chat_line || line.starts_with(kJournalOpened)) {
            if (!chat->store(line.text())) fatal_error(kChatFull, line.text());
        }
        if (++progress == 100) {
            console.write(".");
            progress = 0;
        }
    }

    std::vector<std::string> names;
    for (int i = 0; i < parts.count; ++i) names.emplace_back(parts.names[static_cast<std::size_t>(i)].view());
    const std::vector<PageTarget> targets = assign_page_targets(names, dir, log.path);
    for (int i = 0; i < parts.count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        print(console, kWritingPart, names[slot]);
        write_analysis_page(*parts.stats[slot], log_name, targets[slot]);
        parts.stats[slot].reset();
    }
    reader.close();
    write_discussions_page(*chat, log_name, dir, console);
    chat.reset();

    const int tenths = round_half_up(static_cast<double>(console.now_ms() - start) / 100.0);
    print(console, kProcessingTime, tenths / 10, tenths % 10);
    console.write(kDoneHead);
    for (const PageTarget& target_page : targets) print(console, "%s, ", target_page.display_name);
    console.write(kDoneTail);
    return 0;
}
}  // namespace

int run_korvanel(Console& console, const std::filesystem::path& dir) {
    WarningScope warnings(console);
    int status = 0;
    try {
        status = run_sequence(console, dir);
    } catch (const QuitRun& quit) {
        return quit.status;
    } catch (const FatalError& error) {
        report_fatal_error(console, error);
        status = 1;
    }
    wait_before_exit(console);
    return status;
}

}  // namespace korvanel
