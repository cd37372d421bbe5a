// Configuration files against the simulated mouse: saving the mouse's image under the
// chosen name, with ".bin" added when it lacks it, loading a file back into the mouse, and
// every way a save or load is refused or fails.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"

#include "controls/unicode/WideCtrls.h"
#include "device/Subroutines.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <linux/fs.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr size_t Marker = 495;

// Answers the open question with Yes.
void AnswerYes() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->button(QMessageBox::Yes)) box->button(QMessageBox::Yes)->click();
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class ConfigFileTest : public FormDeviceTest {
protected:
    // Clicks a load label, noting the loading flag while the dialog is open.
    void Load(const std::string& label, const fs::path& file) {
        files.answer = file.string();
        files.before = [this] { flagInDialog = window::shell::UiLoadingFlag; };
        Click(label);
    }
    fs::path Path(const std::string& name) const {
        return fs::path(dir.path().toStdString()) / name;
    }
    Bytes LiveImage() const { return Bytes(device::LiveImage.begin(), device::LiveImage.end()); }

    QTemporaryDir dir;
    FileDialogAnswerer files;
    int flagInDialog = -1;
};

TEST_F(ConfigFileTest, SaveWritesTheImageReadFromTheMouseUnderTheNameWithBinAppended) {
    auto mouse = StartWithMouse();
    // The mouse changed since it was read: the save reads it again.
    mouse->SetImage(DefaultImage(2));
    files.answer = Path("profile").string();
    Click("Btn_Save_3");
    ASSERT_EQ(files.opened, 1);
    EXPECT_EQ(files.filters[0], "SaveFile(*.bin) (*.bin)");
    EXPECT_EQ(ReadFile(Path("profile.bin")), DefaultImage(2));
    EXPECT_FALSE(fs::exists(Path("profile")));
    EXPECT_TRUE(modal->texts.empty());
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(form->Named<platform::vcl::TImage>("Img_Save_" + std::to_string(i)).PictureName(),
                  "SetS_03");

    // A chosen name that already ends in .bin is the file written, once the user agreed.
    mouse->SetImage(DefaultImage(3));
    modal->whileOpen = [](size_t) { AnswerYes(); };
    files.answer = Path("profile.bin").string();
    Click("Btn_Save_6");
    EXPECT_EQ(ReadFile(Path("profile.bin")), DefaultImage(3));
    EXPECT_FALSE(fs::exists(Path("profile.bin.bin")));
    EXPECT_EQ(modal->texts.size(), 1u);
}

// The file a chosen name saves to: ".bin" is added only to a name that does not end in it,
// in any case; nothing else is written in the folder.
TEST_F(ConfigFileTest, SaveNameGetsBinOnlyWhenItLacksIt) {
    auto mouse = StartWithMouse();
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {{"x", "x.bin"},
                 {"x.bin", "x.bin"},
                 {"x.BIN", "x.BIN"},
                 {"x.Bin", "x.Bin"},
                 {"x.bin.txt", "x.bin.txt.bin"},
                 {"x.binx", "x.binx.bin"},
                 {"xbin", "xbin.bin"},
                 {"x.txt", "x.txt.bin"}};
    int image = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        const QTemporaryDir folder;
        const fs::path here = folder.path().toStdString();
        image = image % 3 + 1;
        mouse->SetImage(DefaultImage(image));
        files.answer = (here / c.chosen).string();
        Click("Btn_Save_2");
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(here))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{c.written});
        EXPECT_EQ(ReadFile(here / c.written), DefaultImage(image));
    }
    EXPECT_TRUE(modal->texts.empty()) << "no file was there to replace";
}

// No save replaces a file the user did not agree to replace under the name that is written:
// the question names that file, a No leaves it and sends nothing, a Yes replaces it, and a
// file of the chosen name that is not the one written is neither asked about nor touched.
TEST_F(ConfigFileTest, OverwriteNeedsAYesForTheFileWritten) {
    auto mouse = StartWithMouse();
    mouse->SetImage(DefaultImage(2));
    const Bytes old{'o', 'l', 'd'};
    const struct {
        const char* existing;
        const char* chosen;
        bool yes;            // the answer to the question, if one is asked
        const char* written; // null: nothing is written
        bool asked;
    } cases[] = {
        {"x.bin", "x", false, nullptr, true},
        {"x.bin", "x", true, "x.bin", true},
        {"x.bin", "x.bin", false, nullptr, true},
        {"x.bin", "x.bin", true, "x.bin", true},
        {"x.BIN", "x.BIN", true, "x.BIN", true},
        {"x.BIN", "x.BIN", false, nullptr, true},
        {"x", "x", true, "x.bin", false},
        {"x.bin.txt", "x.bin.txt", true, "x.bin.txt.bin", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.chosen) + (c.yes ? " yes" : " no"));
        const QTemporaryDir folder;
        const fs::path here = folder.path().toStdString();
        WriteFile(here / c.existing, old);
        modal->texts.clear();
        modal->whileOpen = [&c](size_t) {
            if (c.yes) AnswerYes();
        };
        files.answer = (here / c.chosen).string();
        bus->ClearTranscript();
        Click("Btn_Save_1");
        if (c.asked) {
            ASSERT_EQ(modal->texts.size(), 1u);
            const fs::path asked = here / (c.written ? c.written : c.existing);
            EXPECT_NE(modal->texts[0].find(asked.string() + " already exists"), std::string::npos)
                << modal->texts[0];
        } else {
            EXPECT_TRUE(modal->texts.empty());
        }
        const bool replaced = c.written && std::string(c.written) == c.existing;
        EXPECT_EQ(ReadFile(here / c.existing), replaced ? DefaultImage(2) : old);
        if (c.written) {
            EXPECT_EQ(ReadFile(here / c.written), DefaultImage(2));
        }
        EXPECT_EQ(CommandsSent().empty(), c.written == nullptr) << "a refused save reads nothing";
    }

    // A file that turns up under the written name after the question (while the image is
    // read) is not replaced unasked: the save says why and the file keeps its bytes.
    const QTemporaryDir folder;
    const fs::path late = fs::path(folder.path().toStdString()) / "late.bin";
    modal->texts.clear();
    modal->whileOpen = nullptr;
    busy.onStep = [&](int) {
        if (!fs::exists(late)) WriteFile(late, old);
    };
    files.answer = (late.parent_path() / "late").string();
    Click("Btn_Save_1");
    busy.onStep = nullptr;
    EXPECT_EQ(ReadFile(late), old);
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_NE(modal->texts[0].find('"' + late.string() + '"'), std::string::npos)
        << modal->texts[0];
    EXPECT_NE(modal->texts[0].find("File exists"), std::string::npos) << modal->texts[0];
}

TEST_F(ConfigFileTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    auto mouse = StartWithMouse();
    WriteFile(Path("kept.bin"), Bytes{'o', 'l', 'd'});
    files.answer = Path("kept").string();
    bus->ClearTranscript();
    Click("Btn_Save_1"); // the prompt is answered No
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_NE(modal->texts[0].find("kept.bin"), std::string::npos);
    EXPECT_EQ(ReadFile(Path("kept.bin")), (Bytes{'o', 'l', 'd'}));
    EXPECT_TRUE(CommandsSent().empty());

    modal->whileOpen = [](size_t) { AnswerYes(); };
    Click("Btn_Save_1");
    EXPECT_EQ(modal->texts.size(), 2u);
    EXPECT_EQ(ReadFile(Path("kept.bin")), mouse->Image());
}

TEST_F(ConfigFileTest, SaveThenLoadPutsTheSavedImageBackIntoTheMouse) {
    auto mouse = AddMouse(DefaultImage(3));
    Tick();
    files.answer = Path("mine").string();
    Click("Btn_Save_2");
    const Bytes saved = ReadFile(Path("mine.bin"));
    ASSERT_EQ(saved, DefaultImage(3));

    mouse->SetImage(DefaultImage(1));
    bus->ClearTranscript();
    Load("Btn_Load_6", Path("mine.bin"));

    EXPECT_EQ(mouse->Image(), saved);
    EXPECT_EQ(mouse->ResetCount(), 1u);
    EXPECT_EQ(CommandsSent(), (Bytes{0x07, 0x0E, 0x0D, 0x0D, 0x09, 0x09}));
    EXPECT_EQ(LiveImage(), saved);
    EXPECT_EQ(form->KeyCodeStrings[2][7], "09000000"); // the third image's CPI key
    EXPECT_EQ(flagInDialog, 1);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_TRUE(modal->texts.empty());
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(form->Named<platform::vcl::TImage>("Img_Load_" + std::to_string(i)).PictureName(),
                  "SetS_03");
}

TEST_F(ConfigFileTest, AnyFileWithTheMarkerGoesToTheMouseByteForByte) {
    auto mouse = StartWithMouse();
    std::mt19937 random(495);
    Bytes file(2048);
    for (uint8_t& b : file)
        b = static_cast<uint8_t>(random());
    file[Marker] = 0xE0;
    // The identity the mouse must carry to be read again after the reset.
    file[484] = 0xFF;
    file[485] = 0xFF;
    WriteFile(Path("odd.bin"), file);
    Load("Btn_Load_4", Path("odd.bin"));
    // Broken section checksums and all: the copies are repaired, the mouse is not.
    EXPECT_EQ(mouse->Image(), file);
    EXPECT_EQ(LiveImage(), file);
    EXPECT_TRUE(modal->texts.empty());
}

TEST_F(ConfigFileTest, ALongerFileGivesTheMouseItsFirst2048Bytes) {
    auto mouse = StartWithMouse();
    Bytes file = DefaultImage(3);
    for (size_t extra : {size_t{1}, size_t{2048}, size_t{100000}}) {
        SCOPED_TRACE(extra);
        Bytes longer = file;
        longer.resize(file.size() + extra, 0x5A);
        WriteFile(Path("longer.bin"), longer);
        mouse->SetImage(DefaultImage(1));
        modal->texts.clear();
        Load("Btn_Load_2", Path("longer.bin"));
        EXPECT_TRUE(modal->texts.empty());
        EXPECT_EQ(mouse->Image(), file);
        EXPECT_EQ(LiveImage(), file);
        EXPECT_EQ(ReadFile(Path("longer.bin")), longer) << "the file is only read";
    }
}

TEST_F(ConfigFileTest, FilesThatAreNotAConfigurationAreRefusedWithNothingSent) {
    auto mouse = StartWithMouse();
    Bytes wrongMarker = DefaultImage(2);
    wrongMarker[Marker] = 0xE1;
    Bytes shortFile = DefaultImage(2);
    shortFile.resize(2047);
    // A longer file is judged by its first 2048 bytes, the marker among them.
    Bytes longFile = wrongMarker;
    longFile.resize(4096, 0xE0);
    const std::vector<std::pair<std::string, Bytes>> cases = {{"marker.bin", wrongMarker},
                                                              {"short.bin", shortFile},
                                                              {"long.bin", longFile},
                                                              {"empty.bin", {}}};
    const Bytes before = LiveImage();
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        WriteFile(Path(name), bytes);
        modal->texts.clear();
        bus->ClearTranscript();
        Load("Btn_Load_5", Path(name));
        ASSERT_EQ(modal->texts.size(), 1u);
        EXPECT_EQ(modal->texts[0], "Loading .bin is error!");
        EXPECT_TRUE(bus->Transcript().empty());
        EXPECT_EQ(LiveImage(), before);
        EXPECT_EQ(flagInDialog, 1);
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    }
    EXPECT_EQ(mouse->Image(), DefaultImage(1));
    EXPECT_EQ(mouse->ResetCount(), 0u);
}

TEST_F(ConfigFileTest, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
    auto mouse = StartWithMouse();
    WriteFile(Path("gone.bin"), DefaultImage(2));
    // Removed between the choice and the open.
    files.after = [this] { fs::remove(Path("gone.bin")); };
    bus->ClearTranscript();
    Load("Btn_Load_1", Path("gone.bin"));
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_NE(modal->texts[0].find("Cannot open file"), std::string::npos);
    EXPECT_NE(modal->texts[0].find("gone.bin"), std::string::npos);
    EXPECT_TRUE(bus->Transcript().empty());
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_EQ(mouse->Image(), DefaultImage(1));
}

TEST_F(ConfigFileTest, AFolderThatCannotBeWrittenIsReported) {
    StartWithMouse();
    fs::create_directory(Path("sub"));
    files.answer = (Path("sub") / "profile").string();
    files.after = [this] { fs::remove(Path("sub")); };
    Click("Btn_Save_4");
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_NE(modal->texts[0].find("Cannot save file"), std::string::npos);
    EXPECT_NE(modal->texts[0].find((Path("sub") / "profile.bin").string()), std::string::npos);
    EXPECT_NE(modal->texts[0].find("No such file or directory"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("sub")));
}

// A save the user agreed to that then fails part-way: the disk fills up (a file-size
// limit here), or the folder takes no new file (immutable, which binds root too). The
// file the user had keeps every byte and the message names it and the reason.
TEST_F(ConfigFileTest, ASaveThatFailsKeepsTheOldFileAndSaysWhy) {
    auto mouse = StartWithMouse();
    mouse->SetImage(DefaultImage(2));
    const Bytes old = DefaultImage(3);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto immutable = [this](bool on) {
        const int fd = ::open(dir.path().toStdString().c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) ::close(fd);
        return ok;
    };
    struct Case {
        const char* what;
        std::function<bool()> arrange;
        std::function<void()> undo;
        const char* reason;
    };
    const Case cases[] = {
        {"file-size limit",
         [&] {
             signal(SIGXFSZ, SIG_IGN);
             rlimit small = saved;
             small.rlim_cur = 1024;
             return setrlimit(RLIMIT_FSIZE, &small) == 0;
         },
         [&] {
             setrlimit(RLIMIT_FSIZE, &saved);
             signal(SIGXFSZ, SIG_DFL);
         },
         "File too large"},
        {"read-only folder", [&] { return immutable(true); }, [&] { immutable(false); },
         "Operation not permitted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(Path("mine.bin"), old);
        modal->texts.clear();
        // The replace prompt is answered Yes; the failure comes after it.
        modal->whileOpen = [](size_t) { AnswerYes(); };
        files.answer = Path("mine").string();
        if (!c.arrange()) GTEST_SKIP() << "this file system refuses the immutable attribute";
        Click("Btn_Save_3");
        c.undo();
        ASSERT_EQ(modal->texts.size(), 2u);
        const std::string& told = modal->texts[1];
        EXPECT_NE(told.find('"' + Path("mine.bin").string() + '"'), std::string::npos) << told;
        EXPECT_NE(told.find(c.reason), std::string::npos) << told;
        EXPECT_EQ(ReadFile(Path("mine.bin")), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()),
                                fs::directory_iterator()),
                  1)
            << "no temporary file is left";
    }
}

TEST_F(ConfigFileTest, AReadThatFailsWritesNoFile) {
    auto mouse = StartWithMouse();
    // Every data read of the image read is lost, in its first exchange and in every
    // attempt of the whole read after it: the mouse does not answer, and its loss is what
    // the user is told.
    files.before = [&] {
        mouse->FailNextGetFeature(device::FailedReportsToStop * (1 + device::BlockAttempts));
    };
    files.answer = Path("failed").string();
    Click("Btn_Save_5");
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "Waiting to reconnect device\r\r");
    EXPECT_FALSE(fs::exists(Path("failed.bin")));
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
}

TEST_F(ConfigFileTest, CancelledDialogsChangeNothing) {
    auto mouse = StartWithMouse();
    bus->ClearTranscript();
    files.answer.clear();
    Click("Btn_Save_1");
    Load("Btn_Load_1", "");
    EXPECT_EQ(files.opened, 2);
    EXPECT_EQ(files.filters[1], "LoadFile(*.bin) (*.bin)");
    EXPECT_TRUE(bus->Transcript().empty());
    EXPECT_TRUE(fs::is_empty(dir.path().toStdString()));
    EXPECT_EQ(flagInDialog, 1);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(modal->texts.empty());
}

TEST_F(ConfigFileTest, WithoutAServedMouseNoDialogOpensAndNothingIsWritten) {
    // First no mouse at all, then one that is open but did not answer as an I2C mouse.
    for (bool open : {false, true}) {
        SCOPED_TRACE(open ? "not served" : "no mouse");
        std::shared_ptr<simulator::SimMouse> mouse;
        if (open) {
            mouse = AddMouse();
            mouse->SetInfo({0x40, 0x3A, 0xC0, 0, 0, 0, 0});
            Tick();
            ASSERT_TRUE(Present());
        }
        modal->texts.clear();
        bus->ClearTranscript();
        files.answer = Path("never").string();
        window::shell::UiLoadingFlag = 0;
        std::vector<int> flagWhileTold;
        modal->whileOpen = [&](size_t) { flagWhileTold.push_back(window::shell::UiLoadingFlag); };
        Click("Btn_Save_2");
        Click("Btn_Load_3");
        // The load holds the flag up to its message and clears it on the way out.
        EXPECT_EQ(flagWhileTold, (std::vector<int>{0, 1}));
        EXPECT_EQ(modal->texts, (std::vector<std::string>(2, "Finding the specified device")));
        EXPECT_EQ(files.opened, 0);
        EXPECT_TRUE(CommandsSent().empty());
        EXPECT_FALSE(fs::exists(Path("never.bin")));
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
        if (mouse) {
            EXPECT_EQ(mouse->ResetCount(), 0u);
        }
    }
}

} // namespace
} // namespace devtest
