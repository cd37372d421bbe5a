#include "platform/core/Resources.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace vcl;

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
    EXPECT_THROW(TFileStream(missing, fmOpenWrite), vcl::Exception);
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

const unsigned char kResourceBytes[] = {'R', 'E', 'S', 0, 1, 2};

TEST(ResourceStream, FindsResourcesWithoutRegardToCase) {
    platform::RegisterResource("StreamTest_Data", "RC_DATA", kResourceBytes, sizeof kResourceBytes);
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
    platform::RegisterResource("StreamTest_Typed", "PNG", kResourceBytes, sizeof kResourceBytes);
    EXPECT_THROW(TResourceStream("StreamTest_Typed", "RC_DATA"), EResNotFound); // wrong type
}

TEST(ResourceStream, IsReadOnly) {
    platform::RegisterResource("StreamTest_Data", "RC_DATA", kResourceBytes, sizeof kResourceBytes);
    TResourceStream s("StreamTest_Data", "RC_DATA");
    EXPECT_THROW(s.Write("x", 1), EStreamError);
    EXPECT_THROW(s.SetSize(0), EStreamError);
    EXPECT_EQ(kResourceBytes[0], 'R');
}

} // namespace
