// Recording keys on the macro page: the record button starts and stops the keyboard
// capture, the captured keys are listed by name and state, and nothing recorded reaches
// the mouse or the PC macro library.
#include "DeviceFixture.h"
#include "HostReports.h"

#include "device/PCMacroLibrary.h"
#include "platform/desktop/RawInput.h"
#include "platform/rtl/SysUtils.h"

namespace devtest {
namespace {

namespace desktop = platform::desktop;

class MacroRecordingTest : public FormDeviceTest {
protected:
    static void Key(uint16_t vk, bool down) {
        desktop::testing::InjectKeyboardInput(vk, down ? desktop::WM_KEYDOWN : desktop::WM_KEYUP);
        platform::vcl::Application()->ProcessMessages();
    }
    std::vector<std::u16string> Events() {
        std::vector<std::u16string> events;
        for (int i = 0; i < form->LB_macro->WideItems().Count(); ++i)
            events.push_back(form->LB_macro->WideItems()[i]);
        return events;
    }
    std::u16string StartCaption() const {
        return controls::unicode::TWideLabel::GetCaption(form->Btn_Start);
    }
};

TEST_F(MacroRecordingTest, KeysAreListedByNameAndStateOnlyWhileRecording) {
    form->ApplySkin(); // the record button's two captions
    auto mouse = StartWithMouse();
    const std::vector<uint8_t> image = mouse->Image();
    const auto names = device::PCMacroNameTable;
    const auto bodies = device::PCMacroBodyTable;
    form->LB_macro->WideItems().Add(u"left from before");
    bus->ClearTranscript();

    Key(0x41, true); // before the recording: not listed
    Key(0x41, false);
    form->Btn_Start->Click();
    EXPECT_TRUE(form->KeyboardHook1->Enabled());
    EXPECT_EQ(StartCaption(), u"Stop");
    EXPECT_TRUE(Events().empty()) << "a recording starts with an empty list";

    Key(0x41, true);
    Key(0x41, true); // held: the key repeats
    Key(0x41, false);
    Key(0x0D, true);
    Key(0x0D, false);
    EXPECT_EQ(Events(), (std::vector<std::u16string>{u"A Down", u"A Repeat", u"A Up", u"Enter Down",
                                                     u"Enter Up"}));

    form->Btn_Start->Click();
    EXPECT_FALSE(form->KeyboardHook1->Enabled());
    EXPECT_EQ(StartCaption(), u"Record");
    Key(0x42, true);
    Key(0x42, false);
    EXPECT_EQ(Events().size(), 5u) << "after the stop nothing more is listed";

    EXPECT_TRUE(HostReports(*bus).empty()) << "the mouse is not told of the recording";
    EXPECT_EQ(mouse->Image(), image);
    EXPECT_EQ(device::PCMacroNameTable, names);
    EXPECT_EQ(device::PCMacroBodyTable, bodies);
}

} // namespace
} // namespace devtest
