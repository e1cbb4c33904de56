#include "run/page_names.h"

#include <set>

#include "text/latin1.h"
#include "system/system_names.h"

namespace korvanel {

namespace {
char folded(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char>(c + 0x20);
    return ch;
}

std::string folded(std::string_view name) {
    std::string fold(name);
    for (char& ch : fold) ch = folded(ch);
    return fold;
}

bool unsafe_in_file_name(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) return true;
    for (char reserved : std::string_view("/\\:*?\"<>|")) {
        if (ch == reserved) return true;
    }
    return false;
}

// The length of the device name Windows would take `stem` for (CON, PRN,
// AUX, NUL, COM1, LPT2, ... judged on the text before the first "." without
// its trailing blanks), or 0.
std::size_t device_name_length(const std::string& stem) {
    std::string_view base(stem);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    const std::string name = folded(base);
    for (std::string_view device : {"con", "prn", "aux", "nul"}) {
        if (name == device) return 3;
    }
    if (name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt"))) {
        const auto last = static_cast<unsigned char>(name[3]);
        if ((last >= '0' && last <= '9') || last == 0xB9 || last == 0xB2 || last == 0xB3) return 4;
    }
    return 0;
}

std::string safe_stem(const std::string& name) {
    std::string safe = name;
    for (char& ch : safe) {
        if (unsafe_in_file_name(ch)) ch = '_';
    }
    if (const std::size_t device = device_name_length(safe)) safe = safe.substr(0, device) + "_" + safe.substr(device);
    return safe;
}

std::string link_form(const std::string& stem) {
    std::string link;
    for (char ch : stem) {
        switch (ch) {
            case '%': link += "%25"; break;
            case '#': link += "%23"; break;
            default: link.push_back(ch);
        }
    }
    return link;
}

bool is_log_file(const std::filesystem::path& candidate, const std::filesystem::path& log_file) {
    std::error_code ignored;
    return !log_file.empty() && std::filesystem::equivalent(candidate, log_file, ignored);
}
}  // namespace

bool same_page_name(std::string_view a, std::string_view b) { return folded(a) == folded(b); }

std::vector<PageTarget> assign_page_targets(const std::vector<std::string>& part_names,
                                            const std::filesystem::path& dir, std::string_view log_name_in_dir,
                                            const std::filesystem::path& log_file) {
    std::set<std::string> taken{"discussions.html", "graphiques.html"};
    if (!log_name_in_dir.empty()) taken.insert(folded(log_name_in_dir));
    std::vector<PageTarget> targets;
    for (const std::string& name : part_names) {
        std::string stem = safe_stem(name);
        while (taken.count(folded(stem + ".html")) != 0 ||
               is_log_file(dir / path_from_latin1(stem + ".html"), log_file)) {
            stem += "_";
        }
        const std::string file_name = stem + ".html";
        taken.insert(folded(file_name));
        targets.push_back(PageTarget{dir / path_from_latin1(file_name), file_name, link_form(stem),
                                     static_cast<int>(targets.size())});
    }
    return targets;
}

}  // namespace korvanel
