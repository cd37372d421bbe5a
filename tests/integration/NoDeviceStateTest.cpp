// The no-device state of the window and the overlays.
#include "DeviceFixture.h"

#include <set>
#include <vector>

#include <QWidget>

#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "window/device/MainDevice.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

class NoDeviceStateTest : public FormDeviceTest {
protected:
    template <class T> T& Control(const char* name) {
        T* control = dynamic_cast<T*>(form->FindComponent(name));
        if (!control) throw std::runtime_error(std::string("no control ") + name);
        return *control;
    }
    void FillMacroEditor() {
        Control<platform::vcl::TListBox>("LB_MacroName").Items().Add("recorded");
        Control<platform::vcl::TListBox>("LB_macro").Items().Add("key down");
        Control<platform::vcl::TMemo>("mmo_macro").SetText("line");
        Control<platform::vcl::TMemo>("mmo_wrscript").SetText("script");
    }
    bool MacroEditorEmpty() {
        return ItemsOf("LB_MacroName").empty() && ItemsOf("LB_macro").empty() &&
               Control<platform::vcl::TMemo>("mmo_macro").Text().empty() &&
               Control<platform::vcl::TMemo>("mmo_wrscript").Text().empty();
    }
    // Everything the no-device state puts on the window, for comparing two calls.
    struct Snapshot {
        std::vector<Bytes> copies;
        Bytes live;
        std::array<std::array<std::string, 12>, 3> keys;
        std::array<std::string, 9> combos;
        std::vector<bool> pages;
        std::vector<std::string> pictures;
        std::vector<std::string> names, fireNames;
        uint8_t noDevice;
        bool rb1;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() {
        auto bytes = [](const auto& a) { return Bytes(a.begin(), a.end()); };
        Snapshot s{{bytes(form->VendorCopy), bytes(form->UserCopy), bytes(form->Profile1Copy),
                    bytes(form->Profile2Copy), bytes(form->Profile3Copy),
                    bytes(form->IdentityCopy)},
                   Bytes(device::LiveImage.begin(), device::LiveImage.end()),
                   form->KeyCodeStrings,
                   form->ComboCodeStrings,
                   {},
                   {},
                   ItemsOf("LB_Name"),
                   ItemsOf("LB_FireMacroName"),
                   window::shell::NoDevicePageFlag,
                   Control<platform::vcl::TRadioButton>("rb_1").Checked()};
        for (const char* page :
             {"gbPage1", "gbPage2", "gbPage3", "gbPage4", "gbPage5", "gbPage6", "gbPage7"})
            s.pages.push_back(Visible(page));
        for (platform::vcl::TComponent* c : form->Components())
            if (auto* image = dynamic_cast<platform::vcl::TImage*>(c))
                s.pictures.push_back(image->PictureName());
        return s;
    }
};

TEST_F(NoDeviceStateTest, TheWindowShowsTheFirstDefaultImageOnTheFirstPageOnly) {
    Control<platform::vcl::TRadioButton>("rb_3").SetChecked(true);
    form->gbPage4->SetVisible(true);
    FillMacroEditor();
    form->RefreshErrorAP();

    EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), DefaultImage());
    EXPECT_TRUE(std::equal(form->UserCopy.begin(), form->UserCopy.end(),
                           device::DefaultImage1.begin() + device::image::User.Offset));
    EXPECT_EQ(form->KeyCodeStrings[0][1], "0300B600");
    EXPECT_EQ(form->KeyCodeStrings[1][2], "0692003C");
    EXPECT_EQ(form->ComboCodeStrings[3], "07D1F020");
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(Control<platform::vcl::TRadioButton>("rb_1").Checked());
    EXPECT_TRUE(Visible("gbPage1"));
    for (const char* page : {"gbPage2", "gbPage3", "gbPage4", "gbPage5", "gbPage6", "gbPage7"})
        EXPECT_FALSE(Visible(page)) << page;
    EXPECT_TRUE(MacroEditorEmpty());
    EXPECT_TRUE(ItemsOf("LB_Name").empty());
    EXPECT_EQ(ItemsOf("LB_FireMacroName").size(), 10u);
    // The split without the read's patch-code step.
    EXPECT_EQ(TextOf("edt_PatCodeCk"), "");
    // The first page's menu entry pressed on every header, the others normal.
    for (int i = 1; i <= 5; ++i) {
        const std::string digit = std::to_string(i);
        EXPECT_EQ(Control<platform::vcl::TImage>(("Img_Main_" + digit).c_str()).PictureName(),
                  "SetS_03");
        for (const char* family : {"Img_Switch_", "Img_Fixed_", "Img_Adv_", "Img_Breath_",
                                   "Img_Macro_", "Img_Update_", "Img_Engineer_"})
            EXPECT_EQ(Control<platform::vcl::TImage>((family + digit).c_str()).PictureName(),
                      "SetS_01")
                << family << i;
    }
}

TEST_F(NoDeviceStateTest, CalledTwiceInARowItLeavesTheSameState) {
    StartWithMouse(); // something else on the window first
    form->RefreshErrorAP();
    const Snapshot first = Take();
    form->RefreshErrorAP();
    EXPECT_TRUE(Take() == first);
}

TEST_F(NoDeviceStateTest, WithTheFlashMemoryTypeNoImageIsSplitAndTheEditorIsKept) {
    device::MemoryType = "Flash";
    form->Profile1Copy.fill(0x5C);
    device::LiveImage.fill(0x11);
    FillMacroEditor();
    form->RefreshErrorAP();
    device::MemoryType = "I2C";

    EXPECT_EQ(device::LiveImage[0], 0x11);
    EXPECT_FALSE(MacroEditorEmpty());
    // The code strings still follow the copies as they are.
    EXPECT_EQ(form->KeyCodeStrings[0][0], "5C5C5C5C");
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
}

// Each overlay covers the whole of its page, so no control of the page takes a click
// while the mouse is away.
TEST_F(NoDeviceStateTest, EachOverlayCoversItsWholePage) {
    form->ShowDisableOverlays();
    for (int page = 1; page <= 5; ++page) {
        SCOPED_TRACE(page);
        auto& box = form->Named<platform::vcl::TControl>("gbPage" + std::to_string(page));
        auto& overlay = form->Named<platform::vcl::TControl>("Disable_All_" + std::to_string(page));
        EXPECT_EQ(static_cast<platform::vcl::TControl*>(overlay.Parent()), &box);
        EXPECT_EQ(overlay.Left(), 0);
        EXPECT_EQ(overlay.Top(), 0);
        EXPECT_EQ(overlay.Width(), box.Width());
        EXPECT_EQ(overlay.Height(), box.Height());
        EXPECT_EQ(box.Width(), form->PageWidth);
        // Above every other control of the page: drawn after all of them. Only the window's
        // own buttons (minimise, close, Exit) stay above it, so that the window can always
        // be put away.
        const std::string n = std::to_string(page);
        const std::set<const QWidget*> windowButtons = {
            form->Named<platform::vcl::TControl>("Btn_Mini_" + n).Widget(),
            form->Named<platform::vcl::TControl>("Btn_Exit1_" + n).Widget(),
            form->Named<platform::vcl::TControl>("Btn_Exit2_" + n).Widget()};
        std::vector<const QWidget*> above;
        bool overlaySeen = false;
        for (QObject* child : box.Widget()->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || !w->isVisibleTo(box.Widget())) continue;
            if (w == overlay.Widget())
                overlaySeen = true;
            else if (overlaySeen)
                above.push_back(w);
        }
        EXPECT_TRUE(overlaySeen);
        EXPECT_EQ(std::set<const QWidget*>(above.begin(), above.end()), windowButtons);
        EXPECT_EQ(above.size(), windowButtons.size());
    }
}

TEST_F(NoDeviceStateTest, OverlaysShowAndHideTogether) {
    form->HideDisableOverlays();
    EXPECT_TRUE(OverlaysVisible(false));
    form->ShowDisableOverlays();
    EXPECT_TRUE(OverlaysVisible(true));
    form->HideDisableOverlays();
    EXPECT_TRUE(OverlaysVisible(false));
}

} // namespace
} // namespace devtest
