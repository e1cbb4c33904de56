// A console for tests and the fuzzer: scripted input words, a fake clock
// that moves only when the program sleeps, a key press at a chosen time,
// and the output kept as one text.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "console/console.h"

namespace korvanel {

class ScriptedConsole : public Console {
public:
    std::string output;
    std::string errors;                     // what went to standard error
    std::deque<std::string> words;          // answers to the prompt, in order
    std::optional<std::int64_t> key_at_ms;  // a key press from this clock time on
    std::int64_t clock_ms = 0;
    std::int64_t clock_step_ms = 0;          // the clock advance of every reading

    void write(std::string_view text) override { output.append(text); }
    void write_error(std::string_view text) override { errors.append(text); }
    // A scripted word is taken byte for byte, as by a console that is not UTF-8.
    std::optional<TypedWord> read_word() override {
        if (words.empty()) return std::nullopt;
        std::string word = words.front().substr(0, 63);
        words.pop_front();
        TypedWord typed;
        for (char c : word) typed.native.push_back(static_cast<std::filesystem::path::value_type>(static_cast<unsigned char>(c)));
        typed.shown = word;
        return typed;
    }
    bool key_waiting() override { return key_at_ms && clock_ms >= *key_at_ms; }
    std::int64_t now_ms() override {
        const std::int64_t now = clock_ms;
        clock_ms += clock_step_ms;
        return now;
    }
    void sleep_ms(int ms) override { clock_ms += ms; }
};

}  // namespace korvanel
