// A name field of fixed capacity: assigning a longer text keeps its first
// bytes, as many as the field holds, so every stored name keeps its bound
// without a check at each call site.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace korvanel {

template <std::size_t Capacity>
class BoundedText {
public:
    static constexpr std::size_t capacity = Capacity;

    BoundedText() = default;
    BoundedText(std::string_view text) { assign(text); }  // NOLINT: implicit on purpose

    BoundedText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) {
        length_ = text.size() < Capacity ? text.size() : Capacity;
        if (length_ != 0) std::memcpy(bytes_, text.data(), length_);  // an empty view may have no data at all
    }

    std::string_view view() const { return {bytes_, length_}; }
    operator std::string_view() const { return view(); }  // NOLINT: implicit on purpose
    std::size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }

    // Names are compared often (table lookups): the length and the first
    // byte settle most comparisons without a call.
    friend bool operator==(const BoundedText& a, std::string_view b) {
        return a.length_ == b.size() && (a.length_ == 0 || (a.bytes_[0] == b[0] && a.view() == b));
    }
    friend bool operator==(const BoundedText& a, const BoundedText& b) { return a == b.view(); }

private:
    char bytes_[Capacity] = {};
    std::size_t length_ = 0;
};

// Cuts a text to its first `capacity` bytes.
inline std::string_view cut_to(std::string_view text, std::size_t capacity) {
    return text.size() <= capacity ? text : text.substr(0, capacity);
}

}  // namespace korvanel
