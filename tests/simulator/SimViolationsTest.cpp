// The protocol checks: every kind of violation is caught, and a correct conversation
// leaves the list empty.
#include "SimHost.h"
#include "platform/core/Resources.h"
#include "simulator/Install.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace simtest;
using simulator::SimBus;
using simulator::SimMouse;
using simulator::TransferKind;
using simulator::ViolationKind;

class MouseViolations : public ::testing::Test {
protected:
    void SetUp() override {
        mouse = bus.AddMouse(MouseConfig());
        host = Host(bus, mouse->Path());
    }
    std::vector<ViolationKind> Kinds() {
        std::vector<ViolationKind> kinds;
        for (const auto& v : bus.Violations())
            kinds.push_back(v.kind);
        bus.ClearViolations();
        return kinds;
    }
    using Kinds_ = std::vector<ViolationKind>;

    SimBus bus;
    std::shared_ptr<SimMouse> mouse;
    Host host;
};

TEST_F(MouseViolations, CorrectConversationHasNone) {
    host.Command(0x0D);
    host.Read();
    host.Command(0x05, 0, 10, 1, 0, 0, 1);
    host.Command(0x05, 1, 127, 1, 2, 3, 4);
    host.ReadLive(164, 28);
    host.ReadLive(164, 0);
    host.ReadImage(0, 2048);
    host.ReadImage(0, 0);
    host.WriteImage(192, std::vector<uint8_t>(147, 0x11));
    host.WriteImage(0, {});
    host.Command(0x01, 0, 1, 2);
    host.Command(0x02, 0, 1, 0, 1);
    host.Read();
    mouse->PressDpiButton();
    std::thread poller([&] { Host(bus, mouse->Path()).ReadImage(166, 1); });
    poller.join();
    host.Command(0x0D);
    host.Read();
    EXPECT_TRUE(Kinds().empty());
}

TEST_F(MouseViolations, DataReportsNobodyAskedFor) {
    host.Send({0x41, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(Kinds(), Kinds_{ViolationKind::UnexpectedDataWrite});
    EXPECT_EQ(mouse->Image(), PatternImage());

    host.Read();
    EXPECT_EQ(Kinds(), Kinds_{ViolationKind::UnexpectedDataRead});

    // One read more than the block holds; a write into a read.
    host.ReadImage(0, 14);
    host.Read();
    EXPECT_EQ(Kinds(), Kinds_{ViolationKind::UnexpectedDataRead});
    host.Command(0x09, 0, 0, 0, 14);
    host.Send({0x41});
    host.ReadChunks(14);
    EXPECT_EQ(Kinds(), Kinds_{ViolationKind::UnexpectedDataWrite});
    // Commands without data end at once; zero-length blocks ask for nothing.
    host.Command(0x05, 0, 10, 1, 0, 0, 1);
    host.Read();
    host.Command(0x07, 0, 0, 0, 0);
    host.Send({0x41});
    host.Command(0x06, 0, 0, 0, 0);
    host.Read();
    EXPECT_EQ(Kinds(),
              (Kinds_{ViolationKind::UnexpectedDataRead, ViolationKind::UnexpectedDataWrite,
                      ViolationKind::UnexpectedDataRead}));
}

TEST_F(MouseViolations, CommandInTheMiddleOfABlock) {
    for (uint8_t code : {0x06, 0x07, 0x09}) {
        SCOPED_TRACE(code);
        host.Command(code, 0, 0, 0, 15);
        if (code == 0x07)
            host.WriteChunks(std::vector<uint8_t>(14, 0));
        else
            host.ReadChunks(14);
        host.Command(0x0D);
        host.Read();
        EXPECT_EQ(Kinds(), Kinds_{ViolationKind::CommandInsideExchange});
    }
    host.Command(0x0D);
    host.Command(0x0D);
    host.Read();
    EXPECT_EQ(Kinds(), Kinds_{ViolationKind::CommandInsideExchange});
}

TEST_F(MouseViolations, WrongLengthUnknownCommandsAndReports) {
    uint8_t nine[9] = {0x40, 0x0D};
    EXPECT_FALSE(host.handle->SetFeature(nine, 9, host.error));
    uint8_t seven[7] = {0x41};
    EXPECT_FALSE(host.handle->GetFeature(seven, 7, host.error));
    EXPECT_EQ(Kinds(),
              (Kinds_{ViolationKind::WrongReportLength, ViolationKind::WrongReportLength}));

    host.Command(0x03);
    host.Command(0x05, 0, 10, 1, 2, 3, 0); // count 0
    host.Command(0x05, 0, 10, 1, 2, 3, 4); // count 4 in mode 0
    host.Command(0x05, 2, 10, 1, 2, 3, 4);
    EXPECT_EQ(Kinds(), Kinds_(4, ViolationKind::UnknownCommand));
    EXPECT_EQ(mouse->Image(), PatternImage());

    host.Send({0x42, 0, 0, 1});
    Report get{0x40};
    EXPECT_FALSE(host.handle->GetFeature(get.data(), 8, host.error));
    EXPECT_EQ(Kinds(), Kinds_(2, ViolationKind::UnknownReport));
}

TEST_F(MouseViolations, ReportFromAnotherThreadInsideAnOpenExchange) {
    host.Command(0x09, 0, 0, 0, 21);
    host.Read();
    std::thread other([&] { Host(bus, mouse->Path()).Read(); });
    other.join();
    // The other thread's read took the second chunk: the first thread's reads go on.
    host.Read();
    EXPECT_EQ(Kinds(), Kinds_{ViolationKind::InterleavedExchange});

    host.Command(0x07, 0, 0, 0, 14);
    std::thread commander([&] { Host(bus, mouse->Path()).Command(0x0D); });
    commander.join();
    host.WriteChunks(std::vector<uint8_t>(14, 0));
    const auto violations = bus.Violations();
    ASSERT_EQ(violations.size(), 3u);
    for (const auto& v : violations)
        EXPECT_EQ(v.kind, ViolationKind::InterleavedExchange);
    EXPECT_NE(violations[0].thread, violations[1].thread);
    EXPECT_EQ(violations[1].thread, std::this_thread::get_id());
}

TEST_F(MouseViolations, TwoThreadsRacingAreCaught) {
    // Each transfer takes a millisecond, so two threads talking at once overlap.
    mouse->SetTransferLatency(1);
    auto conversation = [&] {
        Host own(bus, mouse->Path());
        for (int i = 0; i < 20; ++i)
            own.ReadImage(0, 70);
    };
    std::thread a(conversation), b(conversation);
    a.join();
    b.join();
    const auto kinds = Kinds();
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), ViolationKind::InterleavedExchange),
              kinds.end());
}

// ---- transcript

TEST(SimTranscript, RecordsEveryReportWithItsHandleAndThread) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host first(bus, mouse->Path());
    Host second(bus, mouse->Path(), platform::win::OpenAccess::ReadWrite);
    first.Command(0x0D);
    first.Read();
    mouse->PressDpiButton();
    Report input{};
    second.handle->ReadInput(input.data(), 8, second.error);
    mouse->Unplug();
    first.Command(0x0D);

    const auto t = bus.Transcript();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].kind, TransferKind::SetFeature);
    EXPECT_EQ(t[0].bytes, (Report{0x40, 0x0D}));
    EXPECT_EQ(t[1].kind, TransferKind::GetFeature);
    EXPECT_EQ(t[1].bytes, (Report{0x41, 0x3F, 0x3A, 0xC0}));
    EXPECT_EQ(t[1].connectionId, t[0].connectionId);
    EXPECT_EQ(t[2].kind, TransferKind::ReadInput);
    EXPECT_EQ(t[2].bytes, (Report{0x42, 0, 0, 1}));
    EXPECT_NE(t[2].connectionId, t[0].connectionId);
    EXPECT_FALSE(t[3].ok);
    EXPECT_EQ(t[3].error, platform::win::HidError::DeviceNotConnected);
    for (const auto& e : t) {
        EXPECT_EQ(e.interfaceId, mouse->Id());
        EXPECT_EQ(e.thread, std::this_thread::get_id());
        EXPECT_EQ(e.length, 8u);
    }
    EXPECT_TRUE(t[0].ok && t[1].ok && t[2].ok);
    EXPECT_LE(t[0].time, t[3].time);
}

TEST(SimTranscript, CanBeCappedOrSwitchedOff) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host host(bus, mouse->Path());
    bus.SetTranscriptLimit(3);
    host.ReadImage(0, 70);
    EXPECT_EQ(bus.Transcript().size(), 3u);
    bus.SetTranscriptLimit(0);
    EXPECT_TRUE(bus.Transcript().empty());
    host.Read();
    EXPECT_TRUE(bus.Transcript().empty());
    // Violations still name the report's place in the whole conversation.
    ASSERT_EQ(bus.Violations().size(), 1u);
    EXPECT_EQ(bus.Violations()[0].reportIndex, 11u);
}

// ---- the program's simulated bus

TEST(SimInstall, ProgramBusCarriesTheFirstDefaultImageAndAKeyboard) {
    static std::vector<uint8_t> image = [] {
        std::vector<uint8_t> bytes = PatternImage();
        bytes[0] = 0x12, bytes[1] = 0x34, bytes[2] = 0x56, bytes[3] = 0x78;
        return bytes;
    }();
    platform::core::RegisterResource("VTRM408xData_Cfg1", "RC_DATA", image.data(), image.size());

    std::function<std::shared_ptr<platform::win::HidBus>()> factory;
    simulator::InstallAsDefaultBus([&](simulator::BusFactory f) { factory = std::move(f); });
    ASSERT_TRUE(factory);
    std::shared_ptr<platform::win::HidBus> bus = factory();
    const auto infos = bus->Enumerate();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[0].vendorId, 0x1234);
    EXPECT_EQ(infos[0].productId, 0x5678);
    EXPECT_EQ(infos[0].featureReportByteLength, 8);
    EXPECT_NE(infos[1].featureReportByteLength, 8);

    platform::win::HidError error{};
    auto handle = bus->Open(infos[0].path, platform::win::OpenAccess::Query, error);
    ASSERT_TRUE(handle);
    Report command{0x40, 0x09, 0x07, 0xF9, 0, 7};
    ASSERT_TRUE(handle->SetFeature(command.data(), 8, error));
    Report reply{0x41};
    ASSERT_TRUE(handle->GetFeature(reply.data(), 8, error));
    EXPECT_TRUE(std::equal(reply.begin() + 1, reply.end(), image.begin() + 2041));
}

} // namespace
