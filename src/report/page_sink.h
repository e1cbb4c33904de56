// Where the pages of a run go.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvanel {

// Takes one page at a time: begun, written, ended.
class PageSink {
public:
    virtual ~PageSink() = default;
    // Starts the page `file` (`display_name`: its name in messages); false
    // when it cannot be created.
    virtual bool begin(const std::filesystem::path& file, std::string_view display_name) = 0;
    // Adds to the page begun last; false when the bytes did not all go in.
    virtual bool write(std::string_view bytes) = 0;
    // Ends the page begun last; false when it could not be completed.
    virtual bool end() = 0;
    // Makes every page ended so far the run's: none when all are, else the
    // display name of the first one that could not be.
    virtual std::optional<std::string> put_in_place() { return std::nullopt; }
};

// Pages as files. Each is written to a temporary file in its folder, and
// only put_in_place puts them in place, one by one in the order they were
// written, each in one step; until then every earlier page stays as it was,
// and the temporary files not put in place are removed with the sink. A
// page name held by anything but a file or a link (a folder) cannot be
// created.
class FilePageSink : public PageSink {
public:
    FilePageSink() = default;
    FilePageSink(const FilePageSink&) = delete;
    FilePageSink& operator=(const FilePageSink&) = delete;
    ~FilePageSink() override;

    bool begin(const std::filesystem::path& file, std::string_view display_name) override;
    bool write(std::string_view bytes) override;
    bool end() override;
    std::optional<std::string> put_in_place() override;

private:
    struct Page {
        std::filesystem::path file;
        std::string display_name;
        std::filesystem::path temp;
    };
    std::vector<Page> pages_;  // ended or under way, not yet in place
    std::FILE* open_ = nullptr;
    bool failed_ = false;
};

// Pages that an open browser reloads every five seconds: every HTML page
// (one that begins with "<html>") gets the reload line right after its
// Content-Type line; other pages go through as they are.
class ReloadingPageSink : public PageSink {
public:
    static constexpr std::string_view kContentType =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">";
    static constexpr std::string_view kReloadLine = "<meta http-equiv=\"refresh\" content=\"5\">";

    explicit ReloadingPageSink(PageSink& pages) : pages_(pages) {}

    bool begin(const std::filesystem::path& file, std::string_view display_name) override {
        head_ = true;
        return pages_.begin(file, display_name);
    }
    // The head comes whole in a page's first bytes.
    bool write(std::string_view bytes) override;
    bool end() override { return pages_.end(); }
    std::optional<std::string> put_in_place() override { return pages_.put_in_place(); }

private:
    PageSink& pages_;
    bool head_ = false;
};

// A page written through ReloadingPageSink, its reload line taken out.
std::string without_reload_line(std::string page);

// Pages kept in memory, in the order they were begun (tests, the fuzzer).
class MemoryPageSink : public PageSink {
public:
    std::vector<std::pair<std::filesystem::path, std::string>> pages;

    bool begin(const std::filesystem::path& file, std::string_view) override {
        pages.emplace_back(file, std::string());
        return true;
    }
    bool write(std::string_view bytes) override {
        pages.back().second.append(bytes);
        return true;
    }
    bool end() override { return true; }
};

}  // namespace korvanel
