// Every embedded resource must hold exactly the bytes of its source file, after the text
// conversion its manifest line asks for.
#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct ManifestEntry {
    std::string name, type, encoding, file;
};

std::vector<ManifestEntry> ReadManifest(const char* path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read the manifest " << path;
    std::vector<ManifestEntry> entries;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        ManifestEntry e;
        size_t start = 0;
        for (std::string* field : {&e.name, &e.type, &e.encoding}) {
            const size_t bar = line.find('|', start);
            EXPECT_NE(bar, std::string::npos) << "malformed manifest line: " << line;
            if (bar == std::string::npos) return entries;
            *field = line.substr(start, bar - start);
            start = bar + 1;
        }
        e.file = line.substr(start);
        entries.push_back(e);
    }
    return entries;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The tables are kept as UTF-8 and embedded as UTF-16LE behind an FF FE mark; a UTF-8 mark
// of the source is not part of the text.
std::string ToUtf16LeWithMark(std::string utf8) {
    if (utf8.rfind("\xEF\xBB\xBF", 0) == 0) utf8.erase(0, 3);
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : platform::rtl::Utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

void ExpectEmbeddedAsSource(const std::vector<ManifestEntry>& entries) {
    for (const ManifestEntry& e : entries) {
        SCOPED_TRACE(e.name + " from " + e.file);
        const std::string source = ReadFile(e.file);
        ASSERT_TRUE(e.encoding == "RAW" || e.encoding == "UTF16LE") << e.encoding;
        const std::string expected = e.encoding == "UTF16LE" ? ToUtf16LeWithMark(source) : source;
        const platform::core::ResourceEntry* r = platform::core::FindResource(e.name, e.type);
        ASSERT_NE(r, nullptr) << "not embedded";
        ASSERT_EQ(r->size, expected.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(r->data), r->size), expected);
    }
}

TEST(ResourceEmbedding, ProgramResourcesMatchTheirSources) {
    ExpectEmbeddedAsSource(ReadManifest(VTRM_RESOURCE_MANIFEST));
}

TEST(ResourceEmbedding, TestResourcesMatchTheirSources) {
    const std::vector<ManifestEntry> entries = ReadManifest(VTRM_TEST_RESOURCE_MANIFEST);
    bool sawConverted = false;
    for (const ManifestEntry& e : entries)
        sawConverted |= e.encoding == "UTF16LE";
    EXPECT_TRUE(sawConverted) << "the test resources should cover the UTF-16 conversion";
    ExpectEmbeddedAsSource(entries);
}

} // namespace
