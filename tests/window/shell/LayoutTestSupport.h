#pragma once
// Helpers of the layout tests: the shipped layout texts and copies of them with some keys
// changed or taken out.
#include "platform/core/Resources.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace layout_test {

// The embedded text "ORG<n>" as it is built into the program.
inline std::string ShippedLayout(int n) {
    const platform::core::ResourceEntry* e =
        platform::core::FindResource("ORG" + std::to_string(n), "RC_DATA");
    if (!e) {
        ADD_FAILURE() << "no layout text " << n;
        return {};
    }
    return std::string(reinterpret_cast<const char*>(e->data), e->size);
}

// The lines of the text, each without its line end.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The text with each named key's value replaced; every key must be in the text.
inline std::string WithValues(const std::string& text,
                              const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> lines = Lines(text);
    for (const auto& [key, value] : changes) {
        bool found = false;
        for (std::string& line : lines) {
            if (line.rfind(key + "=", 0) == 0) {
                line = key + "=" + value;
                found = true;
            }
        }
        EXPECT_TRUE(found) << key;
    }
    return Join(lines);
}

// The text without the lines of these keys.
inline std::string Without(const std::string& text, const std::vector<std::string>& keys) {
    std::vector<std::string> kept;
    for (const std::string& line : Lines(text)) {
        bool drop = false;
        for (const std::string& key : keys)
            drop = drop || line.rfind(key + "=", 0) == 0;
        if (!drop) kept.push_back(line);
    }
    EXPECT_EQ(kept.size() + keys.size(), Lines(text).size()) << "every key was in the text";
    return Join(kept);
}

} // namespace layout_test
