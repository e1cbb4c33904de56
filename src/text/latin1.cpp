#include "text/latin1.h"

namespace korvanel {

std::string latin1_to_utf8(std::string_view latin1_text) {
    std::string out;
    out.reserve(latin1_text.size() + latin1_text.size() / 8);
    for (char ch : latin1_text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace korvanel
