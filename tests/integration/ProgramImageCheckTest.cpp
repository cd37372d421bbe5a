// The update page against the simulated mouse: a file is programmed only when it is a
// configuration image (the marker a configuration file load asks for) of a mouse this
// program serves (the identity pair a found mouse must carry). Anything else is refused
// before a byte goes to the mouse, and stays loaded.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"
#include "HostReports.h"

#include "controls/unicode/WideCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "window/shell/LanguageTables.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <random>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr size_t Manufacturer = 484;
constexpr size_t Marker = 495;
constexpr const char* WrongFileText = "Loading .bin is error!";

class ProgramImageCheckTest : public FormDeviceTest {
protected:
    void TearDown() override {
        window::Form1 = nullptr;
        form->ReserveManufacturerId = 0;
        form->ReserveProductId = 0;
        FormDeviceTest::TearDown();
    }
    fs::path Path(const std::string& name) const {
        return fs::path(dir.path().toStdString()) / name;
    }
    void LoadAndProgram(const fs::path& file) {
        files.answer = file.string();
        form->Named<platform::vcl::TControl>("Btn_LoadBIN").Click();
        form->Named<platform::vcl::TControl>("Btn_Program").Click();
    }
    std::u16string LoadedCaption() {
        return controls::unicode::TWideLabel::GetCaption(
            &form->Named<controls::unicode::TWideLabel>("lbl_LoadBIN"));
    }
    static Bytes Resized(Bytes image, size_t size) {
        image.resize(size);
        return image;
    }
    QTemporaryDir dir;
    FileDialogAnswerer files;
};

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST_F(ProgramImageCheckTest, ImagesThatAreNotAServedConfigurationAreRefusedWithNothingSent) {
    auto mouse = StartWithMouse();
    form->ReserveManufacturerId = 12;
    form->ReserveProductId = 34;
    const Bytes before = mouse->Image();

    std::mt19937 random(2048);
    Bytes noise(2048);
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(random());
    ASSERT_NE(noise[Marker], 0xE0);
    Bytes wrongMarker = DefaultImage(2);
    wrongMarker[Marker] = 0xE1;
    // Random bytes that happen to carry the marker still name no mouse of ours.
    Bytes markedNoise = noise;
    markedNoise[Marker] = 0xE0;

    struct Case {
        const char* name;
        Bytes bytes;
        std::string message;
    };
    const std::string identityText = window::shell::LanguageText(1, "Str107");
    const std::vector<Case> cases = {
        {"random bytes", noise, WrongFileText},
        {"wrong marker", wrongMarker, WrongFileText},
        {"marker without identity", markedNoise, identityText},
        {"foreign identity", WithIdentity(DefaultImage(2), 0x12, 0x34), identityText},
        {"only the manufacturer ours", WithIdentity(DefaultImage(2), 0xFF, 0x34), identityText},
        {"only the product ours", WithIdentity(DefaultImage(2), 0x12, 0xFF), identityText},
        {"reserve manufacturer, other product", WithIdentity(DefaultImage(2), 12, 35),
         identityText},
        {"too short", Resized(DefaultImage(2), 2047), WrongFileText},
        {"too long", Resized(DefaultImage(2), 2049), WrongFileText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = Path(std::string(c.name) + ".bin");
        WriteFile(file, c.bytes);
        modal->texts.clear();
        bus->ClearTranscript();
        LoadAndProgram(file);
        ASSERT_EQ(modal->texts.size(), 1u);
        EXPECT_EQ(modal->texts[0], c.message);
        EXPECT_TRUE(HostReports(*bus).empty());
        EXPECT_EQ(mouse->Image(), before);
        EXPECT_EQ(mouse->ResetCount(), 0u);
        // The refused file stays loaded: Update refuses it again, and says so again.
        EXPECT_EQ(form->FirmwareFileLoaded, 1);
        EXPECT_EQ(LoadedCaption(), platform::rtl::Utf8ToUtf16(file.string()));
        form->Named<platform::vcl::TControl>("Btn_Program").Click();
        ASSERT_EQ(modal->texts.size(), 2u);
        EXPECT_EQ(modal->texts[1], c.message);
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    }

    // The identity error speaks the window's language (the program's window is the one
    // whose texts the device messages take).
    window::Form1 = form.get();
    form->SwitchLanguage(2);
    modal->texts.clear();
    LoadAndProgram(Path("foreign identity.bin"));
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], window::shell::LanguageText(2, "Str107"));
    EXPECT_NE(modal->texts[0], identityText);
    EXPECT_TRUE(HostReports(*bus).empty());
    EXPECT_EQ(mouse->Image(), before);
}

// Either pair a found mouse may carry is programmed, the image as it is.
TEST_F(ProgramImageCheckTest, ImagesOfEitherServedIdentityAreProgrammed) {
    auto mouse = StartWithMouse();
    form->ReserveManufacturerId = 12;
    form->ReserveProductId = 34;
    for (const Bytes& image : {WithIdentity(DefaultImage(3), 12, 34), DefaultImage(2)}) {
        SCOPED_TRACE(image[Manufacturer]);
        const size_t resets = mouse->ResetCount();
        const fs::path file = Path("served" + std::to_string(image[Manufacturer]) + ".bin");
        WriteFile(file, image);
        modal->texts.clear();
        LoadAndProgram(file);
        EXPECT_TRUE(modal->texts.empty()) << modal->texts.front();
        EXPECT_EQ(mouse->Image(), image);
        EXPECT_EQ(mouse->ResetCount(), resets + 1);
    }
}

// A file of any other size is measured, not read: a huge one takes no memory, and Update
// refuses it as it refuses any file that is not an image.
TEST_F(ProgramImageCheckTest, AHugeFileIsMeasuredNotReadAndRefused) {
    auto mouse = StartWithMouse();
    const fs::path file = Path("huge.bin");
    WriteFile(file, DefaultImage(2));
    fs::resize_file(file, uint64_t{1} << 30); // sparse: no disk is used
    LoadAndProgram(file);
    EXPECT_EQ(form->FirmwareFileLoaded, 1);
    EXPECT_TRUE(form->FirmwareFile.empty());
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], WrongFileText);
    EXPECT_EQ(mouse->Image(), DefaultImage(1));
}

} // namespace
} // namespace devtest
