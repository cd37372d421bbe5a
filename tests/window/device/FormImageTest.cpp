// The configuration image on the main window: the defaults context taken from the window,
// the section checks over the window's copies, the split with the window as host, and the
// macro lists it fills.
#include "device/DefaultSetting.h"
#include "device/PCMacroLibrary.h"
#include "window/Main.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using device::image::ImageSize;
using Bytes = std::vector<uint8_t>;

// Answers message dialogs with OK and keeps their texts.
class DialogAnswerer {
public:
    DialogAnswerer() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            texts.push_back(box->text().toStdString());
            box->button(QMessageBox::Ok)->click();
        });
        poll_.start(1);
    }
    std::vector<std::string> texts;

private:
    QTimer poll_;
};

class FormImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<window::TForm1>(nullptr);
        device::MemoryType = "I2C";
        device::LoadDefaultImages();
        device::LiveImage = device::DefaultImage1;
    }
    template <size_t N> static Bytes B(const device::TBytes<N>& a) {
        return Bytes(a.begin(), a.end());
    }
    static Bytes Part(const device::TDeviceImage& image, device::ImageArea area) {
        return Bytes(image.begin() + area.Offset, image.begin() + area.End());
    }
    std::unique_ptr<window::TForm1> form;
};

TEST_F(FormImageTest, TheDefaultsContextIsWhatTheWindowShowsNow) {
    form->LedType = "Sync";
    form->DetectedInterface = "I2C";
    form->cb_Package->SetItemIndex(1);
    device::DefaultsContext context = form->DefaultsFromWindow();
    EXPECT_EQ(context.LedType, "Sync");
    EXPECT_EQ(context.DetectedInterface, "I2C");
    EXPECT_EQ(context.PackageItemIndex, 1);
    form->cb_Package->SetItemIndex(-1);
    EXPECT_EQ(form->DefaultsFromWindow().PackageItemIndex, -1);
}

TEST_F(FormImageTest, ADamagedVendorSectionIsRepairedWithTheWindowsLedTypeAndPackage) {
    device::LiveImage[device::image::Vendor.Offset + 4] = 0x12; // damaged byte 4
    form->LedType = "Sync";
    form->cb_Package->SetItemIndex(1);
    form->DetectedInterface = "";
    form->SplitLiveImage();
    EXPECT_EQ(form->VendorCopy[4], 0x12); // not "I2C": byte 4 kept
    EXPECT_EQ(form->VendorCopy[5], 0x3F);
    EXPECT_EQ(form->VendorCopy[7], 0xBF);
    EXPECT_EQ(form->VendorCopy[40], 0x10);
    EXPECT_EQ(form->VendorCopy[41], 0xE0);
    EXPECT_TRUE(device::ChecksumHolds(form->VendorCopy));
    EXPECT_EQ(device::LiveImage[4], 0x12); // the live image keeps what it had

    form->DetectedInterface = "I2C";
    form->SplitLiveImage();
    EXPECT_EQ(form->VendorCopy[4], 0xBF);
}

TEST_F(FormImageTest, EachSectionCheckRepairsItsOwnCopyOnly) {
    form->SplitLiveImage();
    const Bytes vendor = B(form->VendorCopy);
    form->Profile2Copy[0] ^= 1;
    form->Profile3Copy[0] ^= 1;
    form->VendorCopy[0] ^= 1;
    const Bytes profile3 = B(form->Profile3Copy);
    form->cb_Package->SetItemIndex(0);
    form->CheckProfile2Section();
    EXPECT_TRUE(device::ChecksumHolds(form->Profile2Copy));
    EXPECT_EQ(form->Profile2Copy[5], 0x08); // default key table: key 2 = 01 08 00 00
    EXPECT_EQ(form->Profile2Copy[7], 0x00); // the image had 02 there
    EXPECT_EQ(B(form->Profile3Copy), profile3);
    EXPECT_FALSE(device::ChecksumHolds(form->VendorCopy));
    form->CheckVendorSection();
    EXPECT_TRUE(device::ChecksumHolds(form->VendorCopy));
    EXPECT_NE(B(form->VendorCopy), vendor); // repaired, not restored
    // A sound copy is left alone whatever it holds.
    form->UserCopy.fill(0);
    form->UserCopy[27] = 0x5A;
    form->CheckUserSection();
    Bytes sound(27, 0);
    sound.push_back(0x5A);
    EXPECT_EQ(B(form->UserCopy), sound);
}

TEST_F(FormImageTest, OnlyTheReadShowsThePatchCodeChecksum) {
    form->edt_PatCodeCk->SetText("none");
    form->SplitLiveImage();
    EXPECT_EQ(form->edt_PatCodeCk->Text(), "none");
    form->SplitLiveImage(true);
    EXPECT_EQ(form->edt_PatCodeCk->Text(), "07A2");
    device::LiveImage = device::DefaultImage3;
    form->SplitLiveImage(true);
    EXPECT_EQ(form->edt_PatCodeCk->Text(), "261A");
    device::LiveImage[device::image::PatchHeader.Offset + 6] = 0x0A;
    device::LiveImage[device::image::PatchHeader.Offset + 7] = 0xBC;
    form->SplitLiveImage(true);
    EXPECT_EQ(form->edt_PatCodeCk->Text(), "0ABC"); // upper case, four digits
}

TEST_F(FormImageTest, TheDeviceMacroListReplacesThePreviousOne) {
    form->LB_Name->Items().Add("stale");
    auto put = [](size_t at, std::string_view name, Bytes body) {
        const device::TMacroName n = device::AsciiMacroName(name);
        std::copy(n.begin(), n.end(), device::LiveImage.begin() + at);
        std::copy(body.begin(), body.end(), device::LiveImage.begin() + at + 16);
    };
    const size_t area = device::image::DeviceMacroArea.Offset;
    put(area, "Alpha", {0xA1, 0x00});
    put(area + 18, "Beta", {0xA1, 0xA2, 0xA3, 0x00});
    form->SplitLiveImage();
    EXPECT_EQ(form->LB_Name->Items().ToVector(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(form->DeviceMacros.StartAddress[0], area + 16);
    EXPECT_EQ(form->DeviceMacros.StartAddress[1], area + 18 + 16);
    EXPECT_EQ(form->DeviceMacros.Length[1], 4);
    EXPECT_EQ(form->DeviceMacros.Length[2], 0);

    // A garbage area without a closing 00 lists nothing and reads nothing past it.
    std::fill_n(device::LiveImage.begin() + area, 512, 0x41);
    form->SplitLiveImage();
    EXPECT_TRUE(form->LB_Name->Items().ToVector().empty());
}

TEST_F(FormImageTest, FireMacroSlotsWithoutANameAreNotListed) {
    const size_t area = device::image::FireMacroArea.Offset;
    device::LiveImage[area + 16] = 0xFF; // slot 2: FF FF
    device::LiveImage[area + 17] = 0xFF;
    device::LiveImage[area + 32] = 0x00; // slot 3: 00 00
    device::LiveImage[area + 33] = 0x00;
    form->SplitLiveImage();
    const std::vector<std::string> names = form->LB_FireMacroName->Items().ToVector();
    ASSERT_EQ(names.size(), 8u);
    EXPECT_EQ(names[0], "Macro1");
    EXPECT_EQ(names[1], "Macro4");
}

TEST_F(FormImageTest, TheMacroEditorIsEmptiedWhole) {
    form->LB_MacroName->Items().Add("a");
    form->LB_macro->Items().Add("b");
    form->mmo_macro->SetText("c");
    form->mmo_wrscript->SetText("d");
    form->ClearMacroEditor();
    EXPECT_EQ(form->LB_MacroName->Items().Count(), 0);
    EXPECT_EQ(form->LB_macro->Items().Count(), 0);
    EXPECT_EQ(form->mmo_macro->Text(), "");
    EXPECT_EQ(form->mmo_wrscript->Text(), "");
}

TEST_F(FormImageTest, AMissingResourceRaisesTheResourceNotFoundError) {
    EXPECT_THROW(device::OpenResourceBytes("NoSuchImage"), platform::rtl::EResNotFound);
}

// ---- PC macro library ---------------------------------------------------------------

class FormMacroLibraryTest : public FormImageTest {
protected:
    void SetUp() override {
        FormImageTest::SetUp();
        folder = fs::temp_directory_path() /
                 ("vtrm-formmacro-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        form->MacroLibraryFolder = folder.string() + "/";
        file = folder / device::PCMacroLibraryFileName;
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder, file;
    DialogAnswerer dialogs;
};

TEST_F(FormMacroLibraryTest, AMissingFileIsCreatedFromTheBuiltInLibraryWithoutAMessage) {
    form->CheckPCMacro();
    EXPECT_TRUE(dialogs.texts.empty());
    EXPECT_EQ(fs::file_size(file), device::image::PCMacroLibrarySize);
}

TEST_F(FormMacroLibraryTest, TheProgramFolderIsUsedWhenNoMacroFolderIsSet) {
    form->MacroLibraryFolder.clear();
    form->ProgramFolder = folder.string() + "/";
    form->CheckPCMacro();
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(FormMacroLibraryTest, AFileOfTheWrongSizeIsKeptAndTheUserIsTold) {
    { std::ofstream(file, std::ios::binary) << "short"; }
    form->CheckPCMacro();
    ASSERT_EQ(dialogs.texts.size(), 1u);
    EXPECT_NE(dialogs.texts[0].find(file.string()), std::string::npos);
    EXPECT_NE(dialogs.texts[0].find("5 bytes"), std::string::npos);
    EXPECT_EQ(fs::file_size(file), 5u);
    EXPECT_EQ(device::PCMacroNameTable[0], device::TMacroName{}); // built-in library in use
}

TEST_F(FormMacroLibraryTest, AFolderThatCannotTakeTheFileIsReported) {
    form->MacroLibraryFolder = (folder / "missing" / "").string();
    form->CheckPCMacro();
    ASSERT_EQ(dialogs.texts.size(), 1u);
    EXPECT_NE(dialogs.texts[0].find("cannot be created"), std::string::npos);
}

TEST_F(FormMacroLibraryTest, TheListShowsNamedRecordsAndAFullLibraryTakesNoNewMacro) {
    for (auto& name : device::PCMacroNameTable)
        name = device::TMacroName{};
    device::PCMacroNameTable[3] = device::AsciiMacroName("Jump");
    device::PCMacroNameTable[7] = device::AsciiMacroName("Run");
    form->RefreshPCMacroName();
    EXPECT_EQ(form->LB_PCMacroName->Items().ToVector(), (std::vector<std::string>{"Jump", "Run"}));
    EXPECT_TRUE(form->Named<platform::vcl::TControl>("Btn_NewMacro").Enabled());

    for (int i = 0; i < device::image::PCMacroCount; ++i)
        device::PCMacroNameTable[i] = device::AsciiMacroName("M" + std::to_string(i));
    form->RefreshPCMacroName();
    EXPECT_EQ(form->LB_PCMacroName->Items().Count(), 100);
    EXPECT_FALSE(form->Named<platform::vcl::TControl>("Btn_NewMacro").Enabled());
    for (auto& name : device::PCMacroNameTable)
        name = device::TMacroName{};
}

// ---- Device-macro codes of the profile keys ------------------------------------------

TEST_F(FormImageTest, AKeyNamedAfterADeviceMacroGetsTheMacrosStartAddress) {
    const size_t area = device::image::DeviceMacroArea.Offset;
    const device::TMacroName first = device::AsciiMacroName("Alpha");
    const device::TMacroName second = device::AsciiMacroName("Beta");
    std::copy(first.begin(), first.end(), device::LiveImage.begin() + area);
    device::LiveImage[area + 16] = 0x00;
    std::copy(second.begin(), second.end(), device::LiveImage.begin() + area + 17);
    device::LiveImage[area + 33] = 0x00;
    form->SplitLiveImage();
    form->DataBufToUI();
    const Bytes profile1 = B(form->Profile1Copy);

    form->KeyNameCache[12 + 5] = "Beta";  // profile 2, key 6
    form->KeyNameCache[24 + 0] = "Gamma"; // no such macro
    form->RefreshMacroAddr();
    // Beta's body starts at 496 + 17 + 16 = 529 = 0211.
    EXPECT_EQ(form->KeyCodeStrings[1][5], "10021100");
    EXPECT_EQ(form->Profile2Copy[20], 0x10);
    EXPECT_EQ(form->Profile2Copy[21], 0x02);
    EXPECT_EQ(form->Profile2Copy[22], 0x11);
    EXPECT_EQ(form->Profile2Copy[23], 0x00);
    EXPECT_EQ(form->KeyCodeStrings[2][0], "01010000");
    EXPECT_EQ(B(form->Profile1Copy), profile1);
}

} // namespace
