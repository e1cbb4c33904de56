#include "run/page_names.h"

#include <algorithm>

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

}  // namespace

bool same_page_name(std::string_view a, std::string_view b) { return folded(a) == folded(b); }

std::vector<PageTarget> assign_page_targets(const std::vector<std::string>& part_names,
                                            const std::filesystem::path& dir, std::string_view log_name_in_dir,
                                            const std::function<bool(const std::filesystem::path&)>& is_log_file) {
    // A handful of names: looked through in turn.
    std::vector<std::string> taken{"discussions.html", "graphiques.html"};
    if (!log_name_in_dir.empty()) taken.push_back(folded(log_name_in_dir));
    taken.reserve(taken.size() + part_names.size());
    const auto is_taken = [&](const std::string& file_name) {
        return std::find(taken.begin(), taken.end(), folded(file_name)) != taken.end();
    };
    std::vector<PageTarget> targets;
    targets.reserve(part_names.size());
    for (const std::string& name : part_names) {
        std::string stem = safe_stem(name);
        std::string file_name = stem + ".html";
        std::filesystem::path file;
        for (;;) {
            if (!is_taken(file_name)) {
                file = dir / path_from_latin1(file_name);
                if (!is_log_file || !is_log_file(file)) break;
            }
            stem += "_";
            file_name = stem + ".html";
        }
        taken.push_back(folded(file_name));
        targets.push_back(PageTarget{std::move(file), file_name, link_form(stem), static_cast<int>(targets.size())});
    }
    return targets;
}

}  // namespace korvanel
