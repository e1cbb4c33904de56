#include "diag/messages.h"

namespace korvanel {

void fatal_error(std::string_view message) { throw FatalError{std::string(message), std::nullopt}; }

void fatal_error(std::string_view message, std::string_view line) {
    throw FatalError{std::string(message), std::string(line)};
}

}  // namespace korvanel
