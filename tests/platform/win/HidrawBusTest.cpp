// The hidraw bus against a fake sysfs tree and fake device nodes in a temporary folder.
#include "platform/win/backends/HidrawBus.h"

#include "Descriptors.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::win::HidError;
using platform::win::HidrawBus;
using platform::win::InterfaceInfo;
using platform::win::OpenAccess;
using namespace descriptors;

class HidrawTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vtrm-hidraw-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(root / "sys");
        fs::create_directories(root / "dev");
    }
    void TearDown() override { fs::remove_all(root); }

    void AddNode(const std::string& name, const std::string& uevent, const Bytes& descriptor) {
        const fs::path device = root / "sys" / name / "device";
        fs::create_directories(device);
        std::ofstream(device / "uevent") << uevent;
        std::ofstream out(device / "report_descriptor", std::ios::binary);
        out.write(reinterpret_cast<const char*>(descriptor.data()),
                  static_cast<std::streamsize>(descriptor.size()));
    }
    static std::string Uevent(const char* id) {
        return std::string("DRIVER=hid-generic\nHID_ID=") + id +
               "\nHID_NAME=Test Device\nHID_PHYS=usb-0000:00:14.0-1/input1\n";
    }
    HidrawBus Bus() { return HidrawBus((root / "sys").string(), (root / "dev").string()); }
    std::string Dev(const std::string& name) { return (root / "dev" / name).string(); }

    fs::path root;
};

TEST_F(HidrawTree, ListsOneInterfacePerTopLevelCollectionInNodeOrder) {
    Bytes both = kBootKeyboard;
    both.insert(both.end(), kVendor.begin(), kVendor.end());
    AddNode("hidraw10", Uevent("0003:000004B4:000008B9"), {});
    AddNode("hidraw2", Uevent("0003:000004B4:000008B9"), both);
    AddNode("hidraw0", Uevent("0003:0000046D:0000C31C"), kBootKeyboard);
    AddNode("hidraw1", "DRIVER=hid-generic\nHID_NAME=no ids\n", kVendor);
    AddNode("hidraw3", Uevent("0003:000004B4:000008B9"),
            Bytes(kVendor.begin(), kVendor.begin() + 22));
    AddNode("hidrawx", Uevent("0003:000004B4:000008B9"), kVendor);
    fs::create_directories(root / "sys" / "hidraw4"); // no device folder at all

    const std::vector<InterfaceInfo> list = Bus().Enumerate();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].path, Dev("hidraw0"));
    EXPECT_EQ(list[0].vendorId, 0x046D);
    EXPECT_EQ(list[0].productId, 0xC31C);
    EXPECT_EQ(list[0].featureReportByteLength, 0);
    EXPECT_EQ(list[0].inputReportByteLength, 9);

    EXPECT_EQ(list[1].path, Dev("hidraw2"));
    EXPECT_EQ(list[1].usage, 0x06);
    EXPECT_EQ(list[2].path, Dev("hidraw2") + "#col02");
    EXPECT_EQ(list[2].vendorId, 0x04B4);
    EXPECT_EQ(list[2].productId, 0x08B9);
    EXPECT_EQ(list[2].usagePage, 0xFF00);
    EXPECT_EQ(list[2].featureReportByteLength, 8);
    EXPECT_EQ(list[2].inputReportByteLength, 8);
    EXPECT_EQ(list[2].outputReportByteLength, 0);

    // Truncated after the first feature report: only that one is seen.
    EXPECT_EQ(list[3].path, Dev("hidraw3"));
    EXPECT_EQ(list[3].featureReportByteLength, 8);
    EXPECT_EQ(list[3].inputReportByteLength, 0);

    EXPECT_EQ(list[4].path, Dev("hidraw10"));
    EXPECT_EQ(list[4].featureReportByteLength, 0);
}

TEST_F(HidrawTree, MissingTreeListsNothing) {
    EXPECT_TRUE(HidrawBus((root / "nowhere").string()).Enumerate().empty());
}

TEST_F(HidrawTree, QueryOpensNeedNoNodeButAListedInterface) {
    AddNode("hidraw5", Uevent("0003:000004B4:000008B9"), kVendor);
    HidrawBus bus = Bus();
    HidError error = HidError::None;
    EXPECT_NE(bus.Open(Dev("hidraw5"), OpenAccess::Query, error), nullptr);
    EXPECT_NE(bus.Open(Dev("hidraw5") + "#col02", OpenAccess::Query, error), nullptr);
    EXPECT_EQ(bus.Open(Dev("hidraw6"), OpenAccess::Query, error), nullptr);
    EXPECT_EQ(error, HidError::FileNotFound);
    error = HidError::None;
    EXPECT_EQ(bus.Open("/elsewhere/hidraw5", OpenAccess::Query, error), nullptr);
    EXPECT_EQ(error, HidError::FileNotFound);

    // The node itself is opened at the first transfer, and it is not there.
    auto query = bus.Open(Dev("hidraw5"), OpenAccess::Query, error);
    const uint8_t report[8] = {0x40, 0x0D};
    error = HidError::None;
    EXPECT_FALSE(query->SetFeature(report, sizeof report, error));
    EXPECT_EQ(error, HidError::FileNotFound);

    error = HidError::None;
    EXPECT_EQ(bus.Open(Dev("hidraw5"), OpenAccess::ReadWrite, error), nullptr);
    EXPECT_EQ(error, HidError::FileNotFound);
}

TEST_F(HidrawTree, NodeOfStripsTheCollectionSuffix) {
    EXPECT_EQ(HidrawBus::NodeOf("/dev/hidraw3#col02"), "/dev/hidraw3");
    EXPECT_EQ(HidrawBus::NodeOf("/dev/hidraw3"), "/dev/hidraw3");
}

class HidrawFifo : public HidrawTree {
protected:
    // A FIFO stands in for the node: reads block until the test writes a report.
    void MakeNode(const std::string& name, const Bytes& descriptor) {
        AddNode(name, Uevent("0003:000004B4:000008B9"), descriptor);
        ASSERT_EQ(::mkfifo(Dev(name).c_str(), 0600), 0);
    }
    void Write(const std::string& name, const Bytes& report) {
        const int fd = ::open(Dev(name).c_str(), O_WRONLY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, report.data(), report.size()), static_cast<ssize_t>(report.size()));
        ::close(fd);
    }
};

TEST_F(HidrawFifo, InputReportsComeWithTheirIdFirst) {
    MakeNode("hidraw7", kVendor);
    HidrawBus bus = Bus();
    HidError error = HidError::None;
    auto connection = bus.Open(Dev("hidraw7"), OpenAccess::ReadWrite, error);
    ASSERT_NE(connection, nullptr);
    Write("hidraw7", {0x42, 0, 0, 4, 0, 0, 0, 0});
    uint8_t report[8] = {};
    ASSERT_EQ(connection->ReadInput(report, sizeof report, error), 8);
    EXPECT_EQ(report[0], 0x42);
    EXPECT_EQ(report[3], 4);
}

TEST_F(HidrawFifo, UnnumberedReportsGetAZeroIdByte) {
    MakeNode("hidraw8", kBootKeyboard);
    HidrawBus bus = Bus();
    HidError error = HidError::None;
    auto connection = bus.Open(Dev("hidraw8"), OpenAccess::ReadWrite, error);
    ASSERT_NE(connection, nullptr);
    Write("hidraw8", {0x02, 0, 0x04, 0, 0, 0, 0, 0});
    uint8_t report[9] = {0xEE};
    ASSERT_EQ(connection->ReadInput(report, sizeof report, error), 9);
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 0x02);
    EXPECT_EQ(report[3], 0x04);
}

TEST_F(HidrawFifo, ABlockedReadWakesOnInterrupt) {
    MakeNode("hidraw9", kVendor);
    HidrawBus bus = Bus();
    HidError error = HidError::None;
    auto connection = bus.Open(Dev("hidraw9"), OpenAccess::ReadWrite, error);
    ASSERT_NE(connection, nullptr);
    int result = 0;
    HidError readError = HidError::None;
    std::thread reader([&] {
        uint8_t report[8];
        result = connection->ReadInput(report, sizeof report, readError);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    connection->InterruptRead();
    reader.join();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(readError, HidError::OperationAborted);
    // Later reads fail at once, even with a report waiting.
    Write("hidraw9", {0x42, 0, 0, 1, 0, 0, 0, 0});
    uint8_t report[8];
    EXPECT_EQ(connection->ReadInput(report, sizeof report, error), -1);
}

TEST_F(HidrawFifo, FeatureTransfersOnSomethingElseThanHidrawFailCleanly) {
    MakeNode("hidraw11", kVendor);
    HidrawBus bus = Bus();
    HidError error = HidError::None;
    auto connection = bus.Open(Dev("hidraw11"), OpenAccess::Query, error);
    ASSERT_NE(connection, nullptr);
    uint8_t report[8] = {0x41};
    EXPECT_FALSE(connection->GetFeature(report, sizeof report, error));
    EXPECT_EQ(error, HidError::GenFailure);
    EXPECT_EQ(report[0], 0x41);
}

TEST_F(HidrawTree, AccessDeniedIsTriedBrieflyThenNamedOnce) {
    if (::geteuid() == 0) GTEST_SKIP() << "root is never denied";
    AddNode("hidraw12", Uevent("0003:000004B4:000008B9"), kVendor);
    std::ofstream(Dev("hidraw12")) << "";
    ::chmod(Dev("hidraw12").c_str(), 0);
    HidrawBus bus = Bus();
    HidError error = HidError::None;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(bus.Open(Dev("hidraw12"), OpenAccess::ReadWrite, error), nullptr);
    EXPECT_EQ(error, HidError::AccessDenied);
    EXPECT_EQ(bus.Open(Dev("hidraw12"), OpenAccess::ReadWrite, error), nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("70-vtrm408x.rules"), std::string::npos);
    EXPECT_EQ(said.find("denied"), said.rfind("denied")); // said once
}

} // namespace
