// Files that are not regular files, where the window reads one: chosen for a
// configuration load or on the update page, or standing as the fire script file or the
// macro library at start. Each is refused at once with its name and the system's reason,
// nothing goes to the mouse, and the program carries on as without the file.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"
#include "HostReports.h"
#include "common/SpecialFiles.h"

#include "controls/unicode/WideCtrls.h"
#include "device/DefaultSetting.h"
#include "device/PCMacroLibrary.h"
#include "window/settings/Form1Settings.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace devtest {
namespace {

namespace fs = std::filesystem;

class SpecialFileTest : public FormDeviceTest {
protected:
    std::string Folder() const { return dir.path().toStdString() + "/"; }
    QTemporaryDir dir;
    FileDialogAnswerer files;
};

TEST_F(SpecialFileTest, ChosenForALoadOrOnTheUpdatePageItIsRefusedWithItsNameAndReason) {
    auto mouse = StartWithMouse();
    const std::string path = Folder() + "chosen.bin";
    for (const char* button : {"Btn_Load_2", "Btn_LoadBIN"}) {
        for (const testfiles::KindCase& c : testfiles::SpecialKinds()) {
            SCOPED_TRACE(std::string(button) + ", " + c.name);
            // The dialog is given a configuration file, which becomes the special file
            // right after the choice.
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(DefaultImage(2).data()), 2048);
            std::unique_ptr<testfiles::SpecialFile> special;
            files.answer = path;
            files.after = [&] {
                fs::remove(path);
                special = std::make_unique<testfiles::SpecialFile>(c.kind, path);
            };
            modal->texts.clear();
            bus->ClearTranscript();
            form->Named<platform::vcl::TControl>(button).Click();
            ASSERT_TRUE(special);
            ASSERT_EQ(modal->texts.size(), 1u);
            EXPECT_EQ(modal->texts[0], "Cannot open file \"" + path + "\". " + c.reason);
            EXPECT_TRUE(HostReports(*bus).empty());
            EXPECT_EQ(mouse->Image(), DefaultImage(1));
            EXPECT_EQ(form->FirmwareFileLoaded, 0);
            EXPECT_TRUE(controls::unicode::TWideLabel::GetCaption(
                            &form->Named<controls::unicode::TWideLabel>("lbl_LoadBIN"))
                            .empty());
            EXPECT_EQ(window::shell::UiLoadingFlag, 0);
            EXPECT_TRUE(special->StillThere());
        }
    }
    EXPECT_EQ(mouse->ResetCount(), 0u);
}

TEST_F(SpecialFileTest, AtStartTheFireScriptsAndTheMacroLibraryAreDoneWithoutAndSayWhy) {
    form->ProgramFolder = Folder();
    form->MacroLibraryFolder = Folder() + "library/";
    fs::create_directory(form->MacroLibraryFolder);
    const std::string fireFile = form->ProgramFolder + "Fire Macro.bin";
    const std::string library = form->MacroLibraryFolder + device::PCMacroLibraryFileName;
    device::LoadDefaultPCMacros();
    const auto defaultNames = device::PCMacroNameTable;
    for (const testfiles::KindCase& c : testfiles::SpecialKinds()) {
        SCOPED_TRACE(c.name);
        testfiles::SpecialFile fire(c.kind, fireFile);
        testfiles::SpecialFile macros(c.kind, library);
        form->LB_Script->Items().Add("stale");
        device::PCMacroNameTable[0].fill(0x41);
        modal->texts.clear();

        window::settings::LoadFireMacroFile(*form);
        form->CheckPCMacro(nullptr);

        ASSERT_EQ(modal->texts.size(), 2u);
        EXPECT_EQ(modal->texts[0], "The fire script file " + fireFile + " cannot be read (" +
                                       c.reason + "). The fire scripts are not used.");
        EXPECT_EQ(form->FireScriptsLoaded, 0);
        EXPECT_EQ(form->LB_Script->Items().Count(), 0);
        EXPECT_EQ(form->LB_ScriptName->Items().Count(), 0);
        EXPECT_EQ(modal->texts[1], "The macro library file " + library + " cannot be read (" +
                                       c.reason +
                                       "). It was left unchanged; the built-in macros are used.");
        EXPECT_EQ(device::PCMacroNameTable, defaultNames);
        EXPECT_TRUE(fire.StillThere());
        EXPECT_TRUE(macros.StillThere());
    }
}

} // namespace
} // namespace devtest
