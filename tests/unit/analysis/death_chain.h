// Feeds lines to the recognisers that run last on every line: the monster
// chain (death, experience, realm points, money, loot), the player's
// deaths, the killers and the victims, in the dispatcher's order.
#pragma once

#include <string>
#include <string_view>

#include "analysis/recognisers.h"
#include "diag/messages.h"

namespace korvanel::testing {

// Latin-1 bytes of a UTF-8 test text (accented letters of Latin-1 only).
inline std::string latin1_of(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// "[hh:mm:ss] message\n" through the death and reward recognisers.
inline void feed(PartStats& stats, std::string_view stamp, std::string_view message) {
    const std::string text = "[" + std::string(stamp) + "] " + latin1_of(message) + "\n";
    const LogLine line(text);
    on_monster_death_group(line, stats);
    record_player_death(line, stats);
    record_killer_name(line, stats);
    record_victim(line, stats);
}

// The fatal error a line raises, or "no fatal error".
inline std::string fatal_message(PartStats& stats, std::string_view stamp, std::string_view message) {
    try {
        feed(stats, stamp, message);
    } catch (const FatalError& error) {
        return error.message + " | " + error.line.value_or("(no line)");
    }
    return "no fatal error";
}

}  // namespace korvanel::testing
