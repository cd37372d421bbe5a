#include "common/SpecialFiles.h"
#include "platform/core/Resources.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/FileRead.h"
#include "platform/rtl/SysUtils.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace platform::rtl;

std::string Contents(TCustomMemoryStream& s) {
    return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vcl_stream_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST(MemoryStream, ReadsWritesAndSeeks) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_EQ(s.Seek(-2, soEnd), 4);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 2); // a short read says how much it got
    EXPECT_EQ(std::string(buf, 2), "ef");
    EXPECT_EQ(s.Read(buf, 8), 0);
    s.SetPosition(1);
    s.WriteBuffer("XY", 2); // overwrites in place
    EXPECT_EQ(s.Seek(1, soCurrent), 4);
    EXPECT_EQ(Contents(s), "aXYdef");
}

TEST(MemoryStream, WritingBeyondTheEndFillsTheGapWithZeros) {
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    s.SetPosition(5);
    EXPECT_EQ(s.Size(), 2);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(Contents(s), std::string("ab\0\0\0z", 6));
}

TEST(MemoryStream, SetSizeAndClear) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3); // a position past the new end moves to the end
    EXPECT_EQ(Contents(s), "abc");
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0);
}

TEST(MemoryStream, NegativePositionsTransferNothing) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    EXPECT_EQ(s.Seek(-10, soCurrent), -7);
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0);
    EXPECT_EQ(s.Write("q", 1), 0);
    EXPECT_EQ(Contents(s), "abc");
}

TEST(Stream, ShortTransfersRaise) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buf[4];
    try {
        s.ReadBuffer(buf, 3);
        FAIL() << "a short read passed";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    s.SetPosition(0);
    s.ReadBuffer(buf, 3); // exactly what is there
    EXPECT_EQ(std::string(buf, 3), "abc");
    s.ReadBuffer(buf, 0); // nothing asked, nothing missing
}

TEST(Stream, CopyFromWholeSourceOrPart) {
    TMemoryStream source;
    source.WriteBuffer("0123456789", 10);
    TMemoryStream whole;
    EXPECT_EQ(whole.CopyFrom(source, 0), 10); // 0 = all of it, from the start
    EXPECT_EQ(Contents(whole), "0123456789");

    source.SetPosition(4);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(Contents(part), "456");
    EXPECT_THROW(part.CopyFrom(source, 10), EReadError); // only 3 bytes are left

    TMemoryStream loaded;
    loaded.WriteBuffer("old contents", 12);
    loaded.LoadFromStream(source);
    EXPECT_EQ(Contents(loaded), "0123456789");
    EXPECT_EQ(loaded.Position(), 0);
}

TEST_F(FileStreamTest, CreateWriteReopenAndRead) {
    const std::string path = PathOf("image.bin");
    {
        TFileStream out(path, fmCreate);
        out.WriteBuffer("config", 6);
        EXPECT_EQ(out.Size(), 6);
        EXPECT_EQ(out.FileName(), path);
    }
    {
        TFileStream in(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(in.Size(), 6);
        EXPECT_EQ(in.Seek(2, soBeginning), 2);
        char buf[8];
        EXPECT_EQ(in.Read(buf, 8), 4);
        EXPECT_EQ(std::string(buf, 4), "nfig");
        in.SetPosition(0);
        EXPECT_THROW(in.ReadBuffer(buf, 7), EReadError);
        EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError); // opened for reading only
    }
    {
        TFileStream rw(path, fmOpenReadWrite);
        rw.SetPosition(6);
        rw.WriteBuffer("!", 1); // opening for writing keeps the contents
        rw.SetSize(3);
        EXPECT_EQ(rw.Position(), 3);
    }
    TFileStream again(path, fmOpenRead);
    char buf[8];
    EXPECT_EQ(again.Read(buf, 8), 3);
    EXPECT_EQ(std::string(buf, 3), "con");
}

TEST_F(FileStreamTest, CreateEmptiesAnExistingFile) {
    const std::string path = PathOf("old.bin");
    {
        TFileStream out(path, fmCreate);
        out.WriteBuffer("0123456789", 10);
    }
    TFileStream out(path, fmCreate);
    EXPECT_EQ(out.Size(), 0);
}

TEST_F(FileStreamTest, OpenFailuresNameTheFileAndTheReason) {
    const std::string missing = PathOf("missing.bin");
    try {
        TFileStream in(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        const std::string prefix = "Cannot open file \"" + missing + "\". ";
        const std::string message = e.what();
        ASSERT_EQ(message.compare(0, prefix.size(), prefix), 0) << message;
        EXPECT_GT(message.size(), prefix.size()) << "the system's reason is missing";
    }

    const std::string inMissingFolder = PathOf("no/such/folder/new.bin");
    try {
        TFileStream out(inMissingFolder, fmCreate);
        FAIL() << "created a file in a missing folder";
    } catch (const EFCreateError& e) {
        const std::string prefix = "Cannot create file \"" + inMissingFolder + "\". ";
        EXPECT_EQ(std::string(e.what()).compare(0, prefix.size(), prefix), 0) << e.what();
    }

    // Every file error is a stream error and an exception of the library.
    EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), EFileStreamError);
    EXPECT_THROW(TFileStream(missing, fmOpenWrite), platform::rtl::Exception);
    EXPECT_FALSE(std::filesystem::exists(missing)); // opening never creates
}

TEST_F(FileStreamTest, ReadOnlyFileCannotBeOpenedForWriting) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    const std::string path = PathOf("locked.bin");
    { TFileStream out(path, fmCreate); }
    ::chmod(path.c_str(), 0444);
    EXPECT_THROW(TFileStream(path, fmOpenWrite), EFOpenError);
    EXPECT_NO_THROW(TFileStream(path, fmOpenRead));
}

// The rules for the files the program reads: only regular files, opened without blocking,
// measured before they are read.
class SpecialFileTest : public FileStreamTest {};

// Whatever is not a regular file is refused at once, by the stream and by the plain read
// alike, with the file's name and the system's reason; nothing of it is read.
TEST_F(SpecialFileTest, SpecialFilesAreRefusedWithoutBlocking) {
    for (const testfiles::KindCase& c : testfiles::SpecialKinds()) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("special.bin");
        testfiles::SpecialFile special(c.kind, path);
        for (const uint16_t mode : {uint16_t{fmOpenRead | fmShareDenyWrite}, fmOpenReadWrite}) {
            try {
                TFileStream in(path, mode);
                ADD_FAILURE() << "opened in mode " << mode;
            } catch (const EFOpenError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". " + c.reason);
            }
        }
        const TFileStart start = ReadFileStart(path, 64);
        EXPECT_EQ(start.Status, TFileReadStatus::Failed);
        EXPECT_EQ(start.Reason, c.reason);
        EXPECT_TRUE(start.Bytes.empty());
        EXPECT_TRUE(special.StillThere());
    }

    // No file at all (a dangling link is none either) is told apart from a refused one.
    std::filesystem::create_symlink(PathOf("nowhere"), PathOf("dangling.bin"));
    for (const char* name : {"missing.bin", "dangling.bin"}) {
        SCOPED_TRACE(name);
        const TFileStart start = ReadFileStart(PathOf(name), 64);
        EXPECT_EQ(start.Status, TFileReadStatus::Missing);
        EXPECT_EQ(start.Reason, "No such file or directory");
    }
}

// A regular file, or a link to one, is measured before it is read, and no more than asked
// for is read.
TEST_F(SpecialFileTest, ARegularFileIsMeasuredBeforeItIsRead) {
    const std::string path = PathOf("ten.bin");
    std::ofstream(path, std::ios::binary) << "0123456789";
    std::filesystem::create_symlink(path, PathOf("link.bin"));
    struct Case {
        size_t limit, minimum;
        std::string bytes;
    };
    for (const Case& c : {Case{64, 0, "0123456789"}, Case{4, 0, "0123"}, Case{64, 10, "0123456789"},
                          Case{64, 11, ""}, Case{0, 0, ""}}) {
        for (const char* name : {"ten.bin", "link.bin"}) {
            SCOPED_TRACE(std::string(name) + " limit " + std::to_string(c.limit) + " minimum " +
                         std::to_string(c.minimum));
            const TFileStart start = ReadFileStart(PathOf(name), c.limit, c.minimum);
            EXPECT_EQ(start.Status, TFileReadStatus::Read);
            EXPECT_EQ(start.Size, 10);
            EXPECT_EQ(std::string(start.Bytes.begin(), start.Bytes.end()), c.bytes);
        }
    }
    TFileStream linked(PathOf("link.bin"), fmOpenRead);
    EXPECT_EQ(linked.Size(), 10);
}

// A read the system refuses names the file and says why; a file that merely ends keeps
// the stream's own words.
TEST_F(SpecialFileTest, AReadErrorNamesTheFileAndTheReason) {
    // The process's own memory reads as a regular file that fails at address 0.
    TFileStream memory("/proc/self/mem", fmOpenRead);
    char buffer[16];
    try {
        memory.ReadBuffer(buffer, sizeof buffer);
        FAIL() << "read address 0";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Cannot read file \"/proc/self/mem\". Input/output error");
    }
    const std::string path = PathOf("short.bin");
    std::ofstream(path, std::ios::binary) << "abc";
    TFileStream shortFile(path, fmOpenRead);
    try {
        shortFile.ReadBuffer(buffer, sizeof buffer);
        FAIL() << "read beyond the end";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

const unsigned char kResourceBytes[] = {'R', 'E', 'S', 0, 1, 2};

TEST(ResourceStream, FindsResourcesWithoutRegardToCase) {
    platform::core::RegisterResource("StreamTest_Data", "RC_DATA", kResourceBytes,
                                     sizeof kResourceBytes);
    TResourceStream s("streamtest_DATA", "rc_data");
    EXPECT_EQ(s.Size(), 6);
    char buf[6];
    s.ReadBuffer(buf, 6);
    EXPECT_EQ(std::string(buf, 6), std::string("RES\0\1\2", 6));
    EXPECT_EQ(s.Memory(), kResourceBytes); // no copy of the embedded bytes

    TMemoryStream copy;
    copy.LoadFromStream(s);
    EXPECT_EQ(copy.Size(), 6);
}

TEST(ResourceStream, MissingResourceIsNamedInTheError) {
    try {
        TResourceStream s("Lang9", "RC_DATA");
        FAIL() << "found a missing resource";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource Lang9 not found");
    }
    platform::core::RegisterResource("StreamTest_Typed", "PNG", kResourceBytes,
                                     sizeof kResourceBytes);
    EXPECT_THROW(TResourceStream("StreamTest_Typed", "RC_DATA"), EResNotFound); // wrong type
}

TEST(ResourceStream, IsReadOnly) {
    platform::core::RegisterResource("StreamTest_Data", "RC_DATA", kResourceBytes,
                                     sizeof kResourceBytes);
    TResourceStream s("StreamTest_Data", "RC_DATA");
    EXPECT_THROW(s.Write("x", 1), EStreamError);
    EXPECT_THROW(s.SetSize(0), EStreamError);
    EXPECT_EQ(kResourceBytes[0], 'R');
}

} // namespace
