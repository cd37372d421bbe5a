// Report byte lengths from real report descriptors.
#include "platform/win/backends/ReportDescriptor.h"

#include "Descriptors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::win::ParseReportDescriptor;
using platform::win::ReportDescriptorLayout;
using namespace descriptors;

ReportDescriptorLayout Parse(const Bytes& d) {
    return ParseReportDescriptor(d.data(), d.size());
}

struct Lengths {
    uint16_t input, output, feature;
    bool operator==(const Lengths&) const = default;
};

Lengths Of(const platform::win::TopLevelCollection& c) {
    return {c.inputReportByteLength, c.outputReportByteLength, c.featureReportByteLength};
}

TEST(ReportDescriptor, LengthsOfRealDescriptors) {
    const auto mouse = Parse(kBootMouse);
    ASSERT_EQ(mouse.collections.size(), 1u);
    EXPECT_EQ(Of(mouse.collections[0]), (Lengths{4, 0, 0}));
    EXPECT_EQ(mouse.collections[0].usagePage, 0x01);
    EXPECT_EQ(mouse.collections[0].usage, 0x02);
    EXPECT_FALSE(mouse.numberedReports);

    const auto keyboard = Parse(kBootKeyboard);
    ASSERT_EQ(keyboard.collections.size(), 1u);
    EXPECT_EQ(Of(keyboard.collections[0]), (Lengths{9, 2, 0}));
    EXPECT_EQ(keyboard.collections[0].usage, 0x06);

    const auto vendor = Parse(kVendor);
    ASSERT_EQ(vendor.collections.size(), 1u);
    EXPECT_EQ(Of(vendor.collections[0]), (Lengths{8, 0, 8}));
    EXPECT_EQ(vendor.collections[0].usagePage, 0xFF00);
    EXPECT_EQ(vendor.collections[0].usage, 0x01);
    EXPECT_TRUE(vendor.numberedReports);
}

TEST(ReportDescriptor, PopRestoresTheGlobalsPushed) {
    const auto layout = Parse(kPushPop);
    ASSERT_EQ(layout.collections.size(), 1u);
    // Ignoring Pop would count the padding with a 16-bit size: input 9.
    EXPECT_EQ(Of(layout.collections[0]), (Lengths{5, 0, 5}));
}

TEST(ReportDescriptor, EachTopLevelCollectionHasItsOwnLengths) {
    Bytes both = kBootKeyboard;
    both.insert(both.end(), kVendor.begin(), kVendor.end());
    const auto layout = Parse(both);
    ASSERT_EQ(layout.collections.size(), 2u);
    EXPECT_EQ(Of(layout.collections[0]), (Lengths{9, 2, 0}));
    EXPECT_EQ(Of(layout.collections[1]), (Lengths{8, 0, 8}));
}

TEST(ReportDescriptor, TheLongestReportIdDecides) {
    // Feature id 1: 8 bits; id 2: 3 x 8 bits plus 4 bits of padding -> 4 + 1 bytes.
    const Bytes d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x75,
                     0x08, 0x95, 0x01, 0xB1, 0x02, 0x85, 0x02, 0x95, 0x03, 0xB1,
                     0x02, 0x75, 0x04, 0x95, 0x01, 0xB1, 0x03, 0xC0};
    const auto layout = Parse(d);
    ASSERT_EQ(layout.collections.size(), 1u);
    EXPECT_EQ(Of(layout.collections[0]), (Lengths{0, 0, 5}));
}

TEST(ReportDescriptor, LongItemsAreSkippedAndFourByteItemsRead) {
    Bytes d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
               0xFE, 0x03, 0x10, 0xB1, 0xB1, 0xB1, // long item: its data looks like Feature
               0x77, 0x10, 0x00, 0x00, 0x00,       // Report Size, 4-byte form: 16
               0x95, 0x02, 0x81, 0x02, 0xC0};
    const auto layout = Parse(d);
    ASSERT_EQ(layout.collections.size(), 1u);
    EXPECT_EQ(Of(layout.collections[0]), (Lengths{5, 0, 0}));
}

TEST(ReportDescriptor, TruncatedOrMalformedInputNeverBreaksTheParser) {
    for (size_t n = 0; n <= kVendor.size(); ++n) {
        const auto layout = ParseReportDescriptor(kVendor.data(), n);
        EXPECT_LE(layout.collections.size(), 1u);
        for (const auto& c : layout.collections) {
            EXPECT_LE(c.featureReportByteLength, 8);
            EXPECT_LE(c.inputReportByteLength, 8);
        }
    }
    // Cut inside the Report Count item: the Feature items after it are not seen.
    EXPECT_EQ(Of(ParseReportDescriptor(kVendor.data(), 15).collections.at(0)), (Lengths{0, 0, 0}));
    // A long item whose length runs past the end, stray End Collections, Pop with an
    // empty stack, main items outside any collection, and a huge report size.
    const Bytes junk = {0xC0, 0xB4, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0xA1,
                        0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF,
                        0xFF, 0xFF, 0xB1, 0x02, 0xC0, 0xC0, 0xFE, 0xFF, 0x00};
    const auto layout = Parse(junk);
    ASSERT_EQ(layout.collections.size(), 1u);
    EXPECT_EQ(layout.collections[0].featureReportByteLength, 0xFFFF);
    EXPECT_EQ(layout.collections[0].inputReportByteLength, 0);
}

} // namespace
