#include "diag/messages.h"

namespace korvanel {

std::string console_safe(std::string_view text, bool keep_final_newline) {
    const std::size_t kept = keep_final_newline && !text.empty() && text.back() == '\n' ? 1 : 0;
    std::string safe(text);
    for (std::size_t i = 0; i + kept < safe.size(); ++i) {
        const auto byte = static_cast<unsigned char>(safe[i]);
        if ((byte < 0x20 && byte != '\t') || (byte >= 0x7F && byte <= 0x9F)) safe[i] = '?';
    }
    return safe;
}

void fatal_error(std::string_view message) { throw FatalError{std::string(message), std::nullopt}; }

void fatal_error(std::string_view message, std::string_view line) {
    throw FatalError{std::string(message), std::string(line)};
}

}  // namespace korvanel
