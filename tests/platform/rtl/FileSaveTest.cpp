// Whole-file saves: the file takes every byte or keeps the bytes it had, and a failure
// says which file and why. The failures are real ones the system raises: a file-size
// limit, a folder that is a file, a folder nobody may write to (root included).
#include "platform/rtl/FileSave.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<char> Bytes(size_t size, char seed) {
    std::vector<char> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7);
    return bytes;
}

std::vector<char> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FileSave : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vtrm408x-save-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        SetImmutable(folder, false);
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }

    // The immutable attribute refuses new entries and renames in the folder even to root.
    static bool SetImmutable(const fs::path& path, bool on) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    // Saves and expects the failure to leave `file` as it was (absent or with `before`),
    // no temporary file behind, and a message that names the file and the reason.
    void ExpectRefused(const fs::path& file, const std::vector<char>& before,
                       const std::string& reason,
                       platform::rtl::TSaveMode mode = platform::rtl::TSaveMode::Replace) {
        const fs::path parent = file.parent_path();
        const bool folderListable = fs::is_directory(parent);
        const auto entriesBefore = folderListable ? Entries(parent) : std::vector<std::string>();
        const std::vector<char> bytes = Bytes(2048, 'x');
        try {
            platform::rtl::SaveFile(file.string(), bytes.data(), bytes.size(), mode);
            ADD_FAILURE() << "the save of " << file << " did not fail";
        } catch (const platform::rtl::EStreamError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find('"' + file.string() + '"'), std::string::npos) << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
        }
        if (before.empty()) {
            EXPECT_FALSE(fs::is_regular_file(file));
        } else {
            EXPECT_EQ(ReadAll(file), before) << "the old file must keep its bytes";
        }
        if (folderListable) {
            EXPECT_EQ(Entries(parent), entriesBefore) << "nothing left behind";
        }
        std::string quiet;
        EXPECT_FALSE(
            platform::rtl::TrySaveFile(file.string(), bytes.data(), bytes.size(), mode, quiet));
        EXPECT_NE(reason.find(quiet), std::string::npos) << quiet;
    }

    fs::path folder;
};

TEST_F(FileSave, WritesANewFileAndReplacesAnOldOneWhole) {
    const fs::path file = folder / "profile.bin";
    const std::vector<char> first = Bytes(2048, 1), second = Bytes(2048, 2);
    platform::rtl::SaveFile(file.string(), first.data(), first.size());
    EXPECT_EQ(ReadAll(file), first);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0666 & ~mask));

    fs::permissions(file, static_cast<fs::perms>(0640));
    platform::rtl::SaveFile(file.string(), second.data(), second.size());
    EXPECT_EQ(ReadAll(file), second);
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0640)) << "kept";
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"profile.bin"});
}

TEST_F(FileSave, FailuresKeepTheOldFile) {
    const fs::path file = folder / "profile.bin";
    const std::vector<char> old = Bytes(2048, 9);
    const fs::path notAFolder = folder / "plain";
    WriteAll(notAFolder, old);
    const fs::path subfolder = folder / "sub";
    fs::create_directory(subfolder);
    struct Case {
        const char* what;
        fs::path file;
        std::vector<char> before;
        std::string reason;
        platform::rtl::TSaveMode mode;
        std::function<void()> arrange, undo;
    };
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const Case cases[] = {
        // A disk that fills up (or a quota) stops the write part-way.
        {"file-size limit", file, old, "File too large", platform::rtl::TSaveMode::Replace,
         [&] {
             ::signal(SIGXFSZ, SIG_IGN);
             rlimit small = saved;
             small.rlim_cur = 1000;
             ::setrlimit(RLIMIT_FSIZE, &small);
         },
         [&] {
             ::setrlimit(RLIMIT_FSIZE, &saved);
             ::signal(SIGXFSZ, SIG_DFL);
         }},
        {"folder is a file",
         notAFolder / "profile.bin",
         {},
         "Not a directory",
         platform::rtl::TSaveMode::Replace,
         [] {},
         [] {}},
        {"a folder in place of the file",
         subfolder,
         {},
         "Is a directory",
         platform::rtl::TSaveMode::Replace,
         [] {},
         [] {}},
        {"an existing file that must stay", file, old, "File exists",
         platform::rtl::TSaveMode::KeepExisting, [] {}, [] {}},
        // sysfs takes no new files, not from root either.
        {"system folder",
         "/sys/vtrm408x-profile.bin",
         {},
         "Permission denied",
         platform::rtl::TSaveMode::Replace,
         [] {},
         [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.before.empty()) WriteAll(c.file, c.before);
        c.arrange();
        ExpectRefused(c.file, c.before, c.reason, c.mode);
        c.undo();
    }
}

TEST_F(FileSave, AReadOnlyFolderKeepsTheOldFile) {
    const fs::path file = folder / "profile.bin";
    const std::vector<char> old = Bytes(2048, 5);
    WriteAll(file, old);
    std::string reason;
    if (SetImmutable(folder, true)) {
        reason = "Operation not permitted";
    } else if (::geteuid() != 0) {
        fs::permissions(folder, static_cast<fs::perms>(0555));
        reason = "Permission denied";
    } else {
        GTEST_SKIP() << "root writes to any folder, and this file system refuses the "
                        "immutable attribute that would stop it";
    }
    // The old road (truncate and write in place) would still succeed here: the file itself
    // is writable. Only a save through a new file meets the folder's refusal.
    ExpectRefused(file, old, reason);
}

} // namespace
