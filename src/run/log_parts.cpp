#include "run/log_parts.h"

#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kCommand = latin1("[TOUS]:  ]log ");
constexpr auto kTargetLine = latin1("Vous visez [");
constexpr auto kSelect = latin1("select");
constexpr auto kName = latin1("name ");
constexpr auto kInitial = latin1("ini");
constexpr auto kNewPart = latin1("\nnouvelle partie de log : %s");
constexpr auto kTooManyParts =
    latin1("\nERREUR\n\nle log a été découpe en trop de morceaux (limite : %i morceaux).\n");
constexpr auto kAddedToInitial =
    latin1("la partie nommee %s est rajoutee par defaut à la partie initiale nommee %s.\n");
constexpr auto kBadCommand = latin1("erreur de ligne de commande pour le choix du nom du résultat");

constexpr std::size_t kCommandWord = kMessageColumn + kCommand.size();
constexpr std::size_t kTargetStart = kMessageColumn + kTargetLine.size();
}  // namespace

void select_log_part(LogLine& line, PartTable& parts, Name49& target, Console& console) {
    if (line.message_starts_with(kCommand)) parts.current = handle_log_command(line, parts, target, console);
    if (line.message_starts_with(kTargetLine)) {
        const std::size_t end = line.find("]", kTargetStart);
        if (end == kNotFound) fatal_error("", line.text());
        target = line.slice(kTargetStart, end);
    }
}

int handle_log_command(LogLine& line, PartTable& parts, const Name49& target, Console& console) {
    Name49 name;
    const bool select = line.has_at(kCommandWord, kSelect);
    const bool named = line.has_at(kCommandWord, kName);
    if (select) name = target;
    if (named) {
        line.drop_final_newline();
        name = line.rest_from(kCommandWord + kName.size());
    }
    if (!select && !named) {
        if (line.has_at(kCommandWord, kInitial)) {
            print(console, kNewPart, parts.names[0]);
            return 0;
        }
        fatal_error(kBadCommand, line.text());
    }

    int found = -1;
    for (int i = 0; i < parts.count && found < 0; ++i) {
        if (parts.names[static_cast<std::size_t>(i)] == name) found = i;
    }
    if (found < 0) {
        if (parts.count == PartTable::kMaxParts) {
            print(console, kTooManyParts, PartTable::kMaxParts);
            print(console, kAddedToInitial, name, parts.names[0]);
            return 0;
        }
        const auto slot = static_cast<std::size_t>(parts.count);
        parts.stats[slot] = new_part_stats();
        parts.names[slot] = name;
        found = parts.count++;
    }
    print(console, kNewPart, name);
    return found;
}

}  // namespace korvanel
