// The engineering page's services against the simulated mouse: its fire keys written into
// the identity block and the keys carrying them, its default configuration written whole,
// and the update page's firmware file, of which only a whole image is ever programmed.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"
#include "HostReports.h"

#include "controls/unicode/WideCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "window/shell/LanguageTables.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr size_t IdentityStart = 484;
constexpr size_t ProfileStart[3] = {192, 241, 290};

class EngineeringServicesTest : public FormDeviceTest {
protected:
    static Bytes Slice(const Bytes& image, size_t at, size_t count) {
        return Bytes(image.begin() + at, image.begin() + at + count);
    }
    std::vector<Report> Sent() const { return HostReports(*bus); }
    fs::path Path(const std::string& name) const {
        return fs::path(dir.path().toStdString()) / name;
    }
    static void WriteFile(const fs::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    std::u16string LoadedCaption() {
        return controls::unicode::TWideLabel::GetCaption(
            &Control<controls::unicode::TWideLabel>("lbl_LoadBIN"));
    }
    QTemporaryDir dir;
    FileDialogAnswerer files;
};

TEST_F(EngineeringServicesTest, AHoldBoxWritesItsFireKeysIntoTheIdentityAndTheKeys) {
    // The first default image: fire key 3 (8 shots every 60) on key 3 of profile 3.
    auto mouse = StartWithMouse();
    ASSERT_EQ(form->KeyCodeStrings[2][2], "0617003C");
    Control<controls::skin::TSkinComboBox>("cb_Fire3Count").SetItemIndex(4); // 5 shots
    Control<platform::vcl::TEdit>("edt_Fire3Time").SetText("90");
    bus->ClearTranscript();

    form->cb_Fire3Continue->SetChecked(true);

    EXPECT_EQ(Control<platform::vcl::TImage>("Img_Fire3Continue").PictureName(), "CbS_E");
    EXPECT_EQ(form->FireKeyShots[2], 5);
    EXPECT_EQ(form->FireKeyInterval[2], 90);
    EXPECT_EQ(form->KeyCodeStrings[2][2], "0694005A");
    const Bytes image = mouse->Image();
    EXPECT_EQ(Slice(image, ProfileStart[2] + 8, 4), (Bytes{0x06, 0x94, 0x00, 0x5A}));
    EXPECT_EQ(Slice(image, IdentityStart, 12),
              (Bytes{0xFF, 0xFF, 0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C, 0x04, 0x00, 0x5A, 0xE0}));
    EXPECT_EQ(Sent().back()[3], 164);
    // The key keeps its name: the fire keys are named by the new shots and interval.
    EXPECT_EQ(Control("btn_Key303").Caption(), window::shell::LanguageText(1, "Str233"));
}

TEST_F(EngineeringServicesTest, HoldBoxesSetByTheWindowItselfSendNothing) {
    auto mouse = StartWithMouse();
    const Bytes before = mouse->Image();
    bus->ClearTranscript();
    form->FireHoldSyncGuard = 1;
    form->cb_Fire2Continue->SetChecked(!form->cb_Fire2Continue->Checked());
    form->FireHoldSyncGuard = 0;
    window::shell::UiLoadingFlag = 1;
    form->cb_Fire3Continue->SetChecked(!form->cb_Fire3Continue->Checked());
    window::shell::UiLoadingFlag = 0;
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(mouse->Image(), before);
}

TEST_F(EngineeringServicesTest, TheDefaultIsBuiltFromTheSectionDefaultsAndWrittenWhole) {
    auto mouse = AddMouse(DefaultImage(2));
    Tick();
    bus->ClearTranscript();
    Control("Btn_Default").Click();

    EXPECT_EQ(mouse->ResetCount(), 1u);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0) << "the read after the reset ends the loading";
    const Bytes image = mouse->Image();
    const Bytes keys = {0x01, 0x01, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x06, 0x12, 0x00, 0x10,
                        0x01, 0x02, 0x00, 0x00, 0x01, 0x10, 0x00, 0x00, 0x02, 0x08, 0x07, 0x00,
                        0x01, 0x04, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (size_t start : ProfileStart) {
        SCOPED_TRACE(start);
        EXPECT_EQ(Slice(image, start, 48), keys);
        const Bytes section = Slice(image, start, 49);
        EXPECT_EQ(section.back(), SectionStamp(section));
    }
    EXPECT_EQ(Slice(image, 164, 28).back(), SectionStamp(Slice(image, 164, 28)));
    EXPECT_EQ(Slice(image, 0, 164).back(), SectionStamp(Slice(image, 0, 164)));
    EXPECT_EQ(Slice(image, IdentityStart, 12),
              (Bytes{0xFF, 0xFF, 0x01, 0x00, 0x3C, 0x03, 0x00, 0x78, 0x07, 0x00, 0xC8, 0xE0}));
    // The fire macros' names "Macro1" .. "Macro10", each as big-endian UTF-16.
    EXPECT_EQ(Slice(image, 1536, 12), (Bytes{0, 'M', 0, 'a', 0, 'c', 0, 'r', 0, 'o', 0, '1'}));
    EXPECT_EQ(Slice(image, 1536 + 9 * 16, 14),
              (Bytes{0, 'M', 0, 'a', 0, 'c', 0, 'r', 0, 'o', 0, '1', 0, '0'}));
    EXPECT_EQ(form->KeyCodeStrings[1][2], "06120010");
}

TEST_F(EngineeringServicesTest, TheDefaultWithoutAMouseOnlySaysSo) {
    Control("Btn_Default").Click();
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], window::shell::LanguageText(1, "Str022"));
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(form->DevTimer->Enabled());
}

TEST_F(EngineeringServicesTest, OnlyALoadedWholeImageIsProgrammed) {
    auto mouse = StartWithMouse();
    const Bytes before = mouse->Image();
    bus->ClearTranscript();

    // Nothing loaded.
    Control("Btn_Program").Click();
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "Please load a .bin file first!");

    // Files of any other size are refused when programming, whatever they hold.
    for (size_t size : {size_t{0}, size_t{2047}, size_t{2049}, size_t{4096}}) {
        SCOPED_TRACE(size);
        const fs::path file = Path("size" + std::to_string(size) + ".bin");
        WriteFile(file, Bytes(size, 0x5A));
        files.answer = file.string();
        Control("Btn_LoadBIN").Click();
        EXPECT_EQ(form->FirmwareFileLoaded, 1);
        EXPECT_EQ(LoadedCaption(), platform::rtl::Utf8ToUtf16(file.string()));
        const size_t shown = modal->texts.size();
        Control("Btn_Program").Click();
        ASSERT_EQ(modal->texts.size(), shown + 1);
        EXPECT_EQ(modal->texts.back(), "Loading .bin is error!");
    }
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(mouse->Image(), before);
    EXPECT_EQ(mouse->ResetCount(), 0u);

    // A whole image goes to the mouse as it is, and the mouse is reset and read back.
    const fs::path image = Path("image.bin");
    WriteFile(image, DefaultImage(3));
    files.answer = image.string();
    Control("Btn_LoadBIN").Click();
    Control("Btn_Program").Click();
    EXPECT_EQ(mouse->Image(), DefaultImage(3));
    EXPECT_EQ(mouse->ResetCount(), 1u);
    EXPECT_EQ(form->KeyCodeStrings[2][7], "09000000"); // the third image's CPI key
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);

    // The update page forgets the file.
    Control("Btn_Update_1").Click();
    EXPECT_EQ(form->FirmwareFileLoaded, 0);
    EXPECT_TRUE(LoadedCaption().empty());
}

} // namespace
} // namespace devtest
