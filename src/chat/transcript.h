#pragma once

#include <filesystem>
#include <string_view>

#include "chat/chat_buffer.h"
#include "console/console.h"
#include "report/page_sink.h"

namespace korvanel {

// Writes "discussions.html": the seven chat channels, each in log order,
// with the date of each log opening.
void write_discussions_page(const ChatBuffer& chat, std::string_view log_name, const std::filesystem::path& dir,
                            Console& console, PageSink& sink);

}  // namespace korvanel
