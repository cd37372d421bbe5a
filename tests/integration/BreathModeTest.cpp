// The breathing-mode boxes of the engineering page: a tick renames the mode in the
// breathing-mode list, shows or hides the mode on the lighting page and sends the one
// byte of enabled modes to the mouse; while the form is being filled they send nothing.
#include "FormRefreshTestSupport.h"
#include "HostReports.h"

#include "device/DefaultSetting.h"

namespace devtest {
namespace {

constexpr size_t ModesByte = 42;
// Every mode enabled, and the two bits above the modes carrying a value of their own.
constexpr uint8_t AllModes = 0xBF;

struct LedTypeCase {
    const char* type;
    uint8_t userByte1;      // LED type in bits 7-6, the current mode in the low nibble
    std::vector<int> modes; // the modes the type offers, in list order
    int ticked;             // the mode whose box the user ticks off and on again
};

std::vector<uint8_t> ImageOfType(const LedTypeCase& c) {
    std::vector<uint8_t> image = FormDeviceTest::DefaultImage();
    image[ModesByte] = AllModes;
    image[164 + 1] = c.userByte1;
    image[163] = SectionStamp({image.begin(), image.begin() + 164});
    image[191] = SectionStamp({image.begin() + 164, image.begin() + 192});
    return image;
}

class BreathModeTest : public FormRefreshTest {
protected:
    platform::vcl::TCheckBox& Box(int mode) {
        return form->Named<platform::vcl::TCheckBox>("cb_Mode" + std::to_string(mode));
    }
    // What the list and the lighting page must show for the boxes as they stand.
    void ExpectShown(const LedTypeCase& c) {
        std::vector<std::string> items;
        for (int mode : c.modes) {
            const bool on = Box(mode).Checked();
            items.push_back(on ? Box(mode).Caption() : "------");
            const std::string n = std::to_string(mode + 1);
            EXPECT_EQ(Shown("lbl_LED" + n), on) << c.type << " mode " << mode;
            EXPECT_EQ(Shown("Img_LED" + n), on) << c.type << " mode " << mode;
        }
        EXPECT_EQ(form->Named<platform::vcl::TComboBox>("cb_BreMode").Items().ToVector(), items)
            << c.type;
    }
};

TEST_F(BreathModeTest, ATickRenamesTheModeShowsItAndSendsTheModesByte) {
    const LedTypeCase cases[] = {
        {"RGB", 0x04, {0, 1, 2, 3, 4, 5}, 3},
        {"Sync", 0x41, {0, 1, 2}, 2},
        {"NT", 0xC5, {0, 1, 2, 4, 5}, 4},
    };
    auto mouse = StartWithMouse();
    ASSERT_TRUE(Present());
    for (const LedTypeCase& c : cases) {
        SCOPED_TRACE(c.type);
        mouse->SetImage(ImageOfType(c));
        form->Btn_Read();
        ASSERT_EQ(form->LedType, c.type);
        const int current = Item("cb_BreMode");
        ASSERT_GE(current, 0);
        ExpectShown(c);

        const uint8_t off = AllModes & ~(1 << c.ticked);
        for (const auto& [checked, value] : {std::pair{false, off}, std::pair{true, AllModes}}) {
            bus->ClearTranscript();
            Box(c.ticked).SetChecked(checked);
            ExpectShown(c);
            EXPECT_EQ(Box(c.ticked).Checked(), checked);
            EXPECT_EQ(Item("cb_BreMode"), current) << "the mouse's mode stays selected";
            EXPECT_EQ(HostReports(*bus),
                      (std::vector<Report>{{0x40, 0x05, 0x00, ModesByte, value, 0, 0, 1}}));
            EXPECT_EQ(form->VendorCopy[ModesByte], value);
            EXPECT_TRUE(device::ChecksumHolds(form->VendorCopy));
            EXPECT_EQ(mouse->Image()[ModesByte], value);
        }

        // The refresh sets the boxes from the vendor copy and sends nothing.
        form->VendorCopy[ModesByte] = off;
        const auto vendor = form->VendorCopy;
        bus->ClearTranscript();
        Refresh();
        EXPECT_FALSE(Box(c.ticked).Checked());
        ExpectShown(c);
        EXPECT_TRUE(HostReports(*bus).empty());
        EXPECT_EQ(form->VendorCopy, vendor);
    }
}

} // namespace
} // namespace devtest
