#include "run/page_names.h"

#include <set>

#include "text/latin1.h"
#include "text/system_names.h"

namespace korvanel {

namespace {
std::string safe_stem(const std::string& name) {
    std::string safe = name;
    for (char& ch : safe) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '/' || ch == '\\' || c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) ch = '_';
    }
    return safe;
}

std::string link_form(const std::string& stem) {
    std::string link;
    for (char ch : stem) {
        switch (ch) {
            case '%': link += "%25"; break;
            case '#': link += "%23"; break;
            case '?': link += "%3F"; break;
            default: link.push_back(ch);
        }
    }
    return link;
}
}  // namespace

namespace {
bool is_log_file(const std::filesystem::path& candidate, const std::filesystem::path& log_file) {
    std::error_code ignored;
    return !log_file.empty() && std::filesystem::equivalent(candidate, log_file, ignored);
}
}  // namespace

std::vector<PageTarget> assign_page_targets(const std::vector<std::string>& part_names,
                                            const std::filesystem::path& dir,
                                            const std::filesystem::path& log_file) {
    std::set<std::string> taken{"discussions.html"};
    std::vector<PageTarget> targets;
    for (const std::string& name : part_names) {
        std::string stem = safe_stem(name);
        while (taken.count(stem + ".html") != 0 || is_log_file(dir / path_from_latin1(stem + ".html"), log_file)) {
            stem += "_";
        }
        const std::string file_name = stem + ".html";
        taken.insert(file_name);
        targets.push_back(PageTarget{dir / path_from_latin1(file_name), file_name, link_form(stem)});
    }
    return targets;
}

}  // namespace korvanel
