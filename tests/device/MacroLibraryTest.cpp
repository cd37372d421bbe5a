// The PC macro library file: read when present, created when missing, and never
// overwritten or half-written when it cannot be used.
#include "device/DefaultSetting.h"
#include "device/PCMacroLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace device;
namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Every record different, so that a record read from the wrong place shows.
std::vector<uint8_t> DistinctLibrary() {
    std::vector<uint8_t> bytes(27200);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i / 272 + i % 7);
    return bytes;
}

void ScribbleOnTables() {
    for (auto& name : PCMacroNameTable)
        name.fill(0x99);
    for (auto& body : PCMacroBodyTable)
        body.fill(0x99);
}

bool TablesHoldDefaults() {
    const std::vector<uint8_t> resource = OpenResourceBytes("PCMacroData");
    for (int i = 0; i < 100; ++i) {
        if (!std::equal(PCMacroNameTable[i].begin(), PCMacroNameTable[i].end(),
                        resource.begin() + 272 * i))
            return false;
        if (!std::equal(PCMacroBodyTable[i].begin(), PCMacroBodyTable[i].end(),
                        resource.begin() + 272 * i + 16))
            return false;
    }
    return true;
}

class MacroLibrary : public testing::Test {
protected:
    fs::path folder;
    std::string libraryPath;

    void SetUp() override {
        static int counter = 0;
        folder = fs::temp_directory_path() /
                 ("vtrm-macrolib-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        fs::create_directories(folder);
        libraryPath = PCMacroLibraryPath(folder.string() + "/", "/nowhere/");
        ScribbleOnTables();
    }
    void TearDown() override { fs::remove_all(folder); }
};

TEST(MacroLibraryPath, FolderTextGetsTheFileNameAppendedDirectly) {
    EXPECT_EQ(PCMacroLibraryPath("", "/opt/mouse/"), "/opt/mouse/VTRM408x-Macro.bin");
    EXPECT_EQ(PCMacroLibraryPath("/data/macros/", "/opt/mouse/"),
              "/data/macros/VTRM408x-Macro.bin");
    EXPECT_EQ(PCMacroLibraryPath("/data/macros", "/opt/mouse/"), "/data/macrosVTRM408x-Macro.bin");
}

TEST_F(MacroLibrary, MissingFileIsCreatedFromTheDefaults) {
    const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::Created);
    EXPECT_TRUE(result.Ok());
    EXPECT_TRUE(TablesHoldDefaults());
    EXPECT_EQ(ReadFile(libraryPath), OpenResourceBytes("PCMacroData"));
}

TEST_F(MacroLibrary, PresentFileIsReadRecordByRecordAndLeftAsItWas) {
    const std::vector<uint8_t> library = DistinctLibrary();
    WriteFile(libraryPath, library);
    const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::Loaded);
    for (int i : {0, 1, 57, 99}) {
        EXPECT_TRUE(std::equal(PCMacroNameTable[i].begin(), PCMacroNameTable[i].end(),
                               library.begin() + 272 * i));
        EXPECT_TRUE(std::equal(PCMacroBodyTable[i].begin(), PCMacroBodyTable[i].end(),
                               library.begin() + 272 * i + 16));
    }
    EXPECT_EQ(ReadFile(libraryPath), library);
}

TEST_F(MacroLibrary, ShorterFileIsKeptUntouchedAndReported) {
    for (size_t size : {size_t{0}, size_t{272}, size_t{27199}}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> bytes = DistinctLibrary();
        bytes.resize(size, 0x7E);
        WriteFile(libraryPath, bytes);
        ScribbleOnTables();
        const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
        EXPECT_EQ(result.Status, PCMacroLibraryStatus::WrongSize);
        EXPECT_FALSE(result.Ok());
        EXPECT_EQ(result.FileSize, size);
        EXPECT_EQ(result.Path, libraryPath);
        EXPECT_EQ(ReadFile(libraryPath), bytes);
        EXPECT_TRUE(TablesHoldDefaults()); // the program still has a library to show
    }
}

TEST_F(MacroLibrary, LongerFileGivesItsFirstHundredRecordsAndIsLeftAsItWas) {
    for (size_t size : {size_t{27201}, size_t{54400}}) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> library = DistinctLibrary();
        std::vector<uint8_t> bytes = library;
        bytes.resize(size, 0x7E);
        WriteFile(libraryPath, bytes);
        ScribbleOnTables();
        const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
        EXPECT_EQ(result.Status, PCMacroLibraryStatus::Loaded);
        for (int i = 0; i < 100; ++i) {
            EXPECT_TRUE(std::equal(PCMacroNameTable[i].begin(), PCMacroNameTable[i].end(),
                                   library.begin() + 272 * i))
                << i;
            EXPECT_TRUE(std::equal(PCMacroBodyTable[i].begin(), PCMacroBodyTable[i].end(),
                                   library.begin() + 272 * i + 16))
                << i;
        }
        EXPECT_EQ(ReadFile(libraryPath), bytes);
    }
}

TEST_F(MacroLibrary, UnreadableLibraryIsNotReplaced) {
    fs::create_directory(libraryPath); // a folder where the file should be
    fs::path inside = fs::path(libraryPath) / "keep.txt";
    WriteFile(inside, {1, 2, 3});
    const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::Unreadable);
    EXPECT_FALSE(result.Reason.empty());
    EXPECT_TRUE(fs::is_directory(libraryPath));
    EXPECT_EQ(ReadFile(inside), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(TablesHoldDefaults());
}

TEST_F(MacroLibrary, FolderThatCannotBeWrittenLeavesNoFileAndIsReported) {
    const std::string missingFolder = (folder / "not-there").string() + "/";
    PCMacroLibraryResult result = CheckPCMacroLibrary(PCMacroLibraryPath(missingFolder, ""));
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::NotCreated);
    EXPECT_FALSE(result.Reason.empty());
    EXPECT_FALSE(fs::exists(folder / "not-there"));
    EXPECT_TRUE(TablesHoldDefaults());

    // A "folder" that is a file.
    WriteFile(folder / "plain", {9});
    ScribbleOnTables();
    result = CheckPCMacroLibrary(PCMacroLibraryPath((folder / "plain").string() + "/", ""));
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::NotCreated);
    EXPECT_EQ(ReadFile(folder / "plain"), std::vector<uint8_t>{9});
    EXPECT_TRUE(TablesHoldDefaults());
}

TEST_F(MacroLibrary, AFileSizeLimitLeavesNoHalfWrittenLibrary) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::NotCreated);
    EXPECT_EQ(result.Reason, "File too large");
    EXPECT_TRUE(fs::is_empty(folder)) << "neither the library nor a temporary file is left";
    EXPECT_TRUE(TablesHoldDefaults());
}

TEST_F(MacroLibrary, ReadOnlyFolderLeavesNoFileAndIsReported) {
    if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::NotCreated);
    EXPECT_FALSE(fs::exists(libraryPath));
    EXPECT_TRUE(TablesHoldDefaults());
}

TEST_F(MacroLibrary, FileWithoutReadPermissionIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
    const std::vector<uint8_t> library = DistinctLibrary();
    WriteFile(libraryPath, library);
    fs::permissions(libraryPath, fs::perms::none);
    const PCMacroLibraryResult result = CheckPCMacroLibrary(libraryPath);
    fs::permissions(libraryPath, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(result.Status, PCMacroLibraryStatus::Unreadable);
    EXPECT_FALSE(result.Reason.empty());
    EXPECT_EQ(ReadFile(libraryPath), library);
    EXPECT_TRUE(TablesHoldDefaults());
}

} // namespace
