// The profile block writes against the simulated mouse: the exact reports, the sections
// stamped on the way, the identity block, the profile taken again from the mouse's own
// user byte.
#include "DeviceFixture.h"
#include "HostReports.h"

#include "window/device/ProfileWrites.h"

#include <algorithm>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t ProfileStart = 192;
constexpr size_t ProfileBytes = 147;
constexpr size_t SectionBytes = 49;
constexpr size_t IdentityStart = 484;
constexpr uint8_t UserAddress = 164;

template <class Section> Bytes Stamped(const Section& copy) {
    Bytes bytes(copy.begin(), copy.end());
    bytes.back() = SectionStamp(bytes);
    return bytes;
}

Bytes Slice(const Bytes& image, size_t offset, size_t length) {
    return Bytes(image.begin() + offset, image.begin() + offset + length);
}

Report Data(const Bytes& source, size_t offset) {
    Report r{0x41};
    std::copy_n(source.begin() + offset, 7, r.begin() + 1);
    return r;
}

class ProfileWriteTest : public FormDeviceTest {
protected:
    std::vector<Report> Sent() const { return HostReports(*bus); }
    // The staging contents the three copies must produce, each section freshly stamped.
    Bytes ExpectedStaging() const {
        Bytes staging;
        for (const device::TProfileSection* copy :
             {&form->Profile1Copy, &form->Profile2Copy, &form->Profile3Copy}) {
            const Bytes section = Stamped(*copy);
            staging.insert(staging.end(), section.begin(), section.end());
        }
        return staging;
    }
    void ExpectProfileBlock(const std::vector<Report>& sent, size_t at, const Bytes& staging) {
        ASSERT_GE(sent.size(), at + 22);
        EXPECT_EQ(sent[at], (Report{0x40, 0x07, 0x00, 0xC0, 0x00, 0x93, 0x00, 0x00}));
        // 147 bytes are exactly 21 reports: no bytes of an earlier chunk left behind.
        for (size_t i = 0; i < 21; ++i)
            EXPECT_EQ(sent[at + 1 + i], Data(staging, 7 * i)) << "data report " << i;
    }
    void ExpectProfileRetaken(const std::vector<Report>& sent, size_t at, uint8_t userByte) {
        ASSERT_EQ(sent.size(), at + 3);
        EXPECT_EQ(sent[at], (Report{0x40, 0x06, 0x00, UserAddress, 0x00, 0x1C, 0x00, 0x00}));
        EXPECT_EQ(sent[at + 1], (Report{0x40, 0x05, 0x00, UserAddress, 0x0F, 0x00, 0x00, 0x01}));
        EXPECT_EQ(sent[at + 2],
                  (Report{0x40, 0x05, 0x00, UserAddress, userByte, 0x00, 0x00, 0x01}));
    }
};

TEST_F(ProfileWriteTest, OneChangedKeyWritesAllThreeSectionsFreshlyStampedThenRetakesTheProfile) {
    auto mouse = StartWithMouse();
    // Key 3 of profile 2 changed in the copy; its checksum no longer holds.
    form->Profile2Copy[8] = 0x0B;
    form->Profile2Copy[9] = 0x17;
    const Bytes staging = ExpectedStaging();
    ASSERT_NE(form->Profile2Copy.back(), staging[SectionBytes + SectionBytes - 1]);
    const uint8_t userByte = mouse->LiveBytes()[UserAddress];
    bus->ClearTranscript();

    window::device::WriteProfileSections(*form);

    const std::vector<Report> sent = Sent();
    ExpectProfileBlock(sent, 0, staging);
    ExpectProfileRetaken(sent, 22, userByte);
    EXPECT_EQ(Bytes(device::ProfileStaging.begin(), device::ProfileStaging.end()), staging);
    const Bytes image = mouse->Image();
    EXPECT_EQ(Slice(image, ProfileStart, ProfileBytes), staging);
    for (size_t s = 0; s < 3; ++s) {
        const Bytes section = Slice(image, ProfileStart + s * SectionBytes, SectionBytes);
        EXPECT_EQ(section.back(), SectionStamp(section)) << "profile " << s + 1;
    }
    EXPECT_EQ(image[241 + 8], 0x0B);
    // The busy window the block write showed is gone at the end.
    EXPECT_GT(busy.hides, 0);
}

TEST_F(ProfileWriteTest, TheUserByteWrittenLastIsTheOneReadBackFromTheMouse) {
    auto mouse = StartWithMouse();
    // The profile was changed on the mouse itself; the copy still holds the old one.
    ASSERT_TRUE(mouse->PressProfileButton());
    const auto live = mouse->LiveBytes();
    ASSERT_NE(live[UserAddress], form->UserCopy[0]);
    bus->ClearTranscript();

    const bool result = window::device::WriteProfileSections(*form);

    EXPECT_TRUE(result);
    const std::vector<Report> sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[4], live[UserAddress]);
    EXPECT_EQ(Bytes(form->UserCopy.begin(), form->UserCopy.end()),
              Bytes(live.begin() + UserAddress, live.begin() + UserAddress + 28));
    EXPECT_EQ(mouse->LiveBytes()[UserAddress], live[UserAddress]);
}

TEST_F(ProfileWriteTest, AFireKeyChangeAlsoWritesTheIdentityBlockAfterTheProfiles) {
    auto mouse = StartWithMouse();
    // Fire key 2: 6 shots every 0x0123.
    form->IdentityCopy[5] = 0x05;
    form->IdentityCopy[6] = 0x01;
    form->IdentityCopy[7] = 0x23;
    const Bytes identity(form->IdentityCopy.begin(), form->IdentityCopy.end());
    const Bytes staging = ExpectedStaging();
    const uint8_t userByte = mouse->LiveBytes()[UserAddress];
    bus->ClearTranscript();

    window::device::WriteProfilesAndIdentity(*form);

    const std::vector<Report> sent = Sent();
    ExpectProfileBlock(sent, 0, staging);
    ASSERT_GE(sent.size(), 25u);
    EXPECT_EQ(sent[22], (Report{0x40, 0x07, 0x01, 0xE4, 0x00, 0x0C, 0x00, 0x00}));
    EXPECT_EQ(sent[23], Data(identity, 0));
    // The second chunk has five bytes of its own; bytes 5 and 6 of the first stay behind.
    EXPECT_EQ(sent[24], (Report{0x41, identity[7], identity[8], identity[9], identity[10],
                                identity[11], identity[5], identity[6]}));
    ExpectProfileRetaken(sent, 25, userByte);
    EXPECT_EQ(Slice(mouse->Image(), IdentityStart, 12), identity);
    EXPECT_EQ(Bytes(device::IdentityStaging.begin(), device::IdentityStaging.end()), identity);
}

TEST_F(ProfileWriteTest, WithoutAnI2CAnswerOnlyTheProfileIsTakenAgain) {
    auto mouse = StartWithMouse();
    form->DetectedInterface.clear();
    form->Profile1Copy[0] = 0x07;
    form->IdentityCopy[2] = 0x09;
    const Bytes before = mouse->Image();
    const uint8_t userByte = mouse->LiveBytes()[UserAddress];
    bus->ClearTranscript();

    window::device::WriteProfilesAndIdentity(*form);

    ExpectProfileRetaken(Sent(), 0, userByte);
    EXPECT_EQ(Slice(mouse->Image(), ProfileStart, ProfileBytes),
              Slice(before, ProfileStart, ProfileBytes));
    EXPECT_EQ(Slice(mouse->Image(), IdentityStart, 12), Slice(before, IdentityStart, 12));
}

TEST_F(ProfileWriteTest, AFailedUserReadLeavesTheCopyAsItWas) {
    auto mouse = StartWithMouse();
    // The data reads of the user section are lost in every attempt until the read gives up
    // at the job's last failed transfer.
    mouse->FailNextGetFeature(device::FailedTransfersPerJob);
    form->UserCopy.fill(0x5A);
    EXPECT_FALSE(form->RefreshProfileParameter());
    EXPECT_TRUE(std::all_of(form->UserCopy.begin(), form->UserCopy.end(),
                            [](uint8_t b) { return b == 0x5A; }));
    EXPECT_TRUE(device::TakeTransferFailure());
    // A good read replaces the whole copy, checksum byte included, untested.
    EXPECT_TRUE(form->RefreshProfileParameter());
    const auto live = mouse->LiveBytes();
    EXPECT_EQ(Bytes(form->UserCopy.begin(), form->UserCopy.end()),
              Bytes(live.begin() + UserAddress, live.begin() + UserAddress + 28));
}

} // namespace
} // namespace devtest
