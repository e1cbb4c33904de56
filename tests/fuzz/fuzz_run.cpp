// The whole program on arbitrary bytes as the log: reading, part commands,
// every recogniser, every page, the transcript and graphiques.json. The log
// is read from a scratch directory by the serial reader, in one block sized
// to the input, and the pages go to memory, so a run allocates what its
// input needs and starts no thread. A fatal report (status 1) is a normal
// outcome; a crash, a sanitizer report, a leak or a hang is a finding, and
// so is a file made in the scratch directory, a page outside it, a text
// from the log that acts as markup, and figures of graphiques.json that do
// not add up.
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "run/run.h"
#include "scripted_console.h"

namespace {
namespace fs = std::filesystem;

// The run works in <scratch>/run, where the log is the only file; a watch
// on both folders reports anything else made, moved or removed there.
struct Scratch {
    fs::path root, dir, log_path;
    int log = -1, watch = -1;
};

const Scratch& scratch() {
    static const Scratch* const made = [] {
        auto* s = new Scratch;  // kept to the end, when the folders go
        std::string pattern = std::string(fs::exists("/dev/shm") ? "/dev/shm" : "/tmp") + "/korvanel-fuzz-XXXXXX";
        s->root = mkdtemp(pattern.data());
        s->dir = s->root / "run";
        s->log_path = s->dir / "chat.log";
        fs::create_directory(s->dir);
        s->log = open(s->log_path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        s->watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        constexpr std::uint32_t kChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF;
        if (s->log < 0 || s->watch < 0 || inotify_add_watch(s->watch, s->root.c_str(), kChanges) < 0 ||
            inotify_add_watch(s->watch, s->dir.c_str(), kChanges) < 0) {
            std::perror("korvanel-fuzz scratch directory");
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratch().root, ignored);
        });
        return s;
    }();
    return *made;
}

// Pages kept in memory, their buffers kept from run to run so that a run
// allocates only what the program itself does.
class ReusedPageSink : public korvanel::PageSink {
public:
    struct Page {
        fs::path file;
        std::string bytes;
    };
    bool begin(const fs::path& file, std::string_view) override {
        if (count_ == pages_.size()) pages_.emplace_back();
        pages_[count_].file = file;
        pages_[count_].bytes.clear();
        ++count_;
        return true;
    }
    bool write(std::string_view bytes) override {
        pages_[count_ - 1].bytes.append(bytes);
        return true;
    }
    bool end() override { return true; }

    std::span<const Page> pages() const { return {pages_.data(), count_}; }
    void clear() { count_ = 0; }

private:
    std::vector<Page> pages_;
    std::size_t count_ = 0;
};

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "finding: %s\n", what.c_str());
    std::abort();
}

// The names the pages use, by length (a switch on the length first keeps
// the check cheap: it runs on every page of every run).
bool is_one_of(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view known : names) {  // names of one length, compared in place
        std::size_t i = 0;
        while (i < name.size() && name[i] == known[i]) ++i;
        if (i == name.size()) return true;
    }
    return false;
}

bool is_known_tag(std::string_view name) {
    switch (name.size()) {
        case 1: return is_one_of(name, {"p", "a", "b", "i", "g"});
        case 2: return is_one_of(name, {"tr", "td", "br"});
        case 3: return is_one_of(name, {"svg"});
        case 4: return is_one_of(name, {"html", "head", "meta", "body", "font", "rect", "path", "text"});
        case 5: return is_one_of(name, {"title", "table", "style"});
        default: return false;
    }
}

bool is_known_attribute(std::string_view name) {
    switch (name.size()) {
        case 1: return is_one_of(name, {"d", "x", "y"});
        case 4: return is_one_of(name, {"text", "size", "href", "name", "fill"});
        case 5: return is_one_of(name, {"vlink", "align", "width", "class", "color", "xmlns"});
        case 6: return is_one_of(name, {"border", "height"});
        case 7: return is_one_of(name, {"content", "bgcolor", "colspan", "viewBox"});
        case 9: return is_one_of(name, {"font-size", "transform"});
        case 10: return is_one_of(name, {"http-equiv"});
        case 11: return is_one_of(name, {"text-anchor"});
        default: return false;
    }
}

// Every tag of a page is one the program writes itself, with its own
// attributes, each value quoted (or a bare number) and free of quotes: a
// name from the log can neither open a tag nor leave an attribute value.
void check_markup(const std::string& page, const std::string& file) {
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos) {
        std::size_t pos = at + 1;
        if (pos < page.size() && page[pos] == '/') ++pos;
        const std::size_t name_start = pos;
        while (pos < page.size() && page[pos] != ' ' && page[pos] != '>') ++pos;
        const std::string_view tag(page.data() + name_start, pos - name_start);
        if (!is_known_tag(tag)) finding(file + ": unknown tag <" + std::string(tag) + "> at " + std::to_string(at));
        while (pos < page.size() && page[pos] != '>') {
            while (pos < page.size() && page[pos] == ' ') ++pos;
            if (pos < page.size() && page[pos] == '>') break;
            if (pos + 1 < page.size() && page[pos] == '/' && page[pos + 1] == '>') {  // an element without content
                ++pos;
                break;
            }
            const std::size_t attribute_start = pos;
            while (pos < page.size() && page[pos] != '=' && page[pos] != '>' && page[pos] != ' ') ++pos;
            const std::string_view attribute(page.data() + attribute_start, pos - attribute_start);
            if (!is_known_attribute(attribute) || pos >= page.size() || page[pos] != '=') {
                finding(file + ": unexpected attribute '" + std::string(attribute) + "' at " + std::to_string(at));
            }
            ++pos;
            if (pos < page.size() && page[pos] == '"') {
                const std::size_t close = page.find('"', pos + 1);
                if (close == std::string::npos) finding(file + ": unclosed attribute value at " + std::to_string(at));
                if (std::string_view(page).substr(pos + 1, close - pos - 1).find('<') != std::string_view::npos) {
                    finding(file + ": '<' inside an attribute value");
                }
                pos = close + 1;
            } else {
                const std::size_t value_start = pos;
                while (pos < page.size() && page[pos] >= '0' && page[pos] <= '9') ++pos;
                if (pos == value_start) finding(file + ": unquoted attribute value at " + std::to_string(at));
            }
        }
        at = pos;
    }
}
// graphiques.json read in its own compact layout, keys in their order: a
// strict JSON reading of that one shape, which also adds up the figures.
class ChartsJson {
public:
    explicit ChartsJson(std::string_view text) : text_(text) {}

    // Empty when the document reads and its sums agree, else what is wrong.
    std::string check() {
        word("{\"format\":\"korvanel-graphiques-1\",\"log\":");
        string();
        word(",\"parts\":[");
        if (!next_is(']')) {
            do part();
            while (ok_ && take(','));
        }
        word("]}\n");
        if (ok_ && at_ != text_.size()) fail("text after the document");
        return ok_ ? std::string() : problem_ + " at " + std::to_string(at_);
    }

private:
    static constexpr int kKinds = 6;  // melee, archery, spells, other, received, healed
    using Sums = std::array<std::uint64_t, kKinds>;  // added up modulo 2^64
    static constexpr const char* kKindKeys[kKinds] = {"melee", "archery", "spells", "other", "received", "healed"};

    void part() {
        word("{\"name\":");
        string();
        word(",\"page\":");
        string();
        word(",\"totals\":{");
        const Sums totals = kinds();
        const std::int64_t kills = field(",\"kills\":"), deaths = field(",\"deaths\":");
        word("},\"fights\":[");
        Sums fights{};
        // Kills and deaths outside every fight count in the totals alone.
        std::int64_t fight_kills = 0, fight_deaths = 0;
        const auto count = [&](std::int64_t& sum, std::int64_t value, std::int64_t total) {
            if (ok_ && (__builtin_add_overflow(sum, value, &sum) || sum > total)) {
                fail("more kills or deaths in fights than in all");
            }
        };
        if (!next_is(']')) {
            do {
                word("{\"start\":\"");
                clock();
                const std::int64_t length = field("\",\"length\":");
                if (ok_ && length < 1) fail("a fight without a second");
                word(",");
                const Sums figures = kinds();
                count(fight_kills, field(",\"kills\":"), kills);
                count(fight_deaths, field(",\"deaths\":"), deaths);
                word(",\"seconds\":[");
                Sums rows{};
                std::int64_t last = -1;
                if (!next_is(']')) {
                    do {
                        word("[");
                        const std::int64_t offset = integer();
                        if (ok_ && (offset <= last || offset >= length)) {
                            fail("a second out of order or outside its fight");
                        }
                        last = offset;
                        for (auto& sum : rows) {
                            word(",");
                            sum += static_cast<std::uint64_t>(integer());
                        }
                        word("]");
                    } while (ok_ && take(','));
                }
                word("]}");
                if (ok_ && rows != figures) fail("a fight's seconds do not add up to its figures");
                for (int k = 0; k < kKinds; ++k) fights[k] += figures[k];
            } while (ok_ && take(','));
        }
        word("]}");
        if (ok_ && fights != totals) fail("a part's fights do not add up to its totals");
    }

    // The six kinds' "key":value pairs, the first without a comma before it.
    Sums kinds() {
        Sums sums{};
        for (int k = 0; k < kKinds; ++k) {
            if (k != 0) word(",");
            word("\"");
            word(kKindKeys[k]);
            sums[k] = static_cast<std::uint64_t>(field("\":"));
        }
        return sums;
    }

    std::int64_t field(std::string_view before) {
        word(before);
        return integer();
    }

    void clock() {  // "HH:MM:SS"
        const auto digit = [&](std::size_t i) {
            return at_ + i < text_.size() && text_[at_ + i] >= '0' && text_[at_ + i] <= '9';
        };
        const auto two = [&](std::size_t i) { return (text_[at_ + i] - '0') * 10 + (text_[at_ + i + 1] - '0'); };
        if (!ok_) return;
        if (!digit(0) || !digit(1) || !digit(3) || !digit(4) || !digit(6) || !digit(7) || text_[at_ + 2] != ':' ||
            text_[at_ + 5] != ':' || two(0) > 23 || two(3) > 59 || two(6) > 59) {
            return fail("a start that is no clock time");
        }
        at_ += 8;
    }

    // A decimal integer without leading zeros, within 64 bits.
    std::int64_t integer() {
        constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;  // the magnitude of the lowest
        if (!ok_) return 0;
        const bool negative = take('-');
        const std::size_t start = at_;
        std::uint64_t value = 0;
        while (ok_ && at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            const auto digit = static_cast<std::uint64_t>(text_[at_++] - '0');
            if (value > (kLimit - digit) / 10) fail("an integer beyond 64 bits");
            value = value * 10 + digit;
        }
        if (at_ == start || (text_[start] == '0' && at_ - start > 1)) fail("not an integer");
        if (!negative && value == kLimit) fail("an integer beyond 64 bits");
        return ok_ ? static_cast<std::int64_t>(negative ? 0 - value : value) : 0;
    }

    void string() {
        if (!ok_) return;
        if (!take('"')) return fail("not a string");
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (static_cast<unsigned char>(c) < 0x20) return fail("a control character in a string");
            if (c != '\\') continue;
            if (at_ >= text_.size() || std::string_view("\"\\/bfnrtu").find(text_[at_]) == std::string_view::npos) {
                return fail("a bad escape");
            }
            if (text_[at_++] == 'u') {
                for (int i = 0; i < 4; ++i, ++at_) {
                    if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_]))) {
                        return fail("a bad escape");
                    }
                }
            }
        }
        if (!take('"')) fail("an unclosed string");
    }

    void word(std::string_view expected) {
        if (ok_ && text_.substr(at_, expected.size()) != expected) {
            fail("not the expected \"" + std::string(expected) + "\"");
        }
        if (ok_) at_ += expected.size();
    }
    bool next_is(char c) const { return ok_ && at_ < text_.size() && text_[at_] == c; }
    bool take(char c) { return next_is(c) ? (++at_, true) : false; }
    void fail(std::string what) {
        if (ok_) problem_ = std::move(what);
        ok_ = false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    bool ok_ = true;
    std::string problem_;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Scratch& place = scratch();
    static std::size_t log_size = 0;  // the log is cut only when the input is shorter
    if (pwrite(place.log, data, size, 0) != static_cast<ssize_t>(size) ||
        (size < log_size && ftruncate(place.log, static_cast<off_t>(size)) != 0)) {
        std::perror("korvanel-fuzz log");
        std::abort();
    }
    log_size = size;
    // One console for every run, the buffers of its texts kept.
    static korvanel::ScriptedConsole console;
    console.output.clear();
    console.errors.clear();
    console.clock_ms = 0;
    console.key_at_ms = 0;  // no exit wait
    static ReusedPageSink sink;
    sink.clear();
    const korvanel::RunEnvironment environment{{false, size + 1}, &sink};
    const int status = korvanel::run_command_line(console, {"--json"}, place.dir, environment);
    if (status != 0 && status != 1) finding("exit status " + std::to_string(status));
    if (status == 1 && console.output.find("\n\nERREUR\n\n") == std::string::npos) finding("status 1 without a report");

    alignas(inotify_event) char events[4096];
    const ssize_t got = read(place.watch, events, sizeof events);
    if (got > 0) {
        const auto* event = reinterpret_cast<const inotify_event*>(events);
        finding(std::string("a file made, moved or removed in the scratch directory: ") +
                (event->len != 0 ? event->name : "(the folder itself)"));
    }
    for (const auto& [path, page] : sink.pages()) {
        const std::string file = path.filename().string();
        if (path.parent_path() != place.dir) finding("a page outside the pages' folder: " + path.string());
        if (file == "graphiques.json") {
            const std::string problem = ChartsJson(page).check();
            if (!problem.empty()) finding(file + ": " + problem);
            continue;
        }
        if (file.size() < 5 || file.compare(file.size() - 5, 5, ".html") != 0) finding("not a page: " + file);
        check_markup(page, file);
    }
    return 0;
}
