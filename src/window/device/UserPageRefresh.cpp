// The user pages of the whole-form refresh: the key page header, the DPI page, the
// lighting page and the fire keys, drawn from the section copies with skin pictures. One
// picture decoder serves every picture of these pages and the refreshers called here.
#include "device/DeviceImage.h"
#include "window/Main.h"
#include "window/device/DeviceTexts.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/SkinImages.h"

#include "platform/rtl/SysUtils.h"

namespace window {
namespace {

using ::device::image::VendorCpiIndexes;
using ::device::image::VendorCpiLevelCount;
using ::device::image::VendorStepTime;
constexpr int VendorLedColours = ::device::image::VendorLedColours.Offset;
constexpr int VendorCpiColours = ::device::image::VendorCpiColours.Offset;
constexpr int NotInUse = 15;

platform::vcl::TColor Rgb(const uint8_t* bytes) {
    return static_cast<platform::vcl::TColor>(bytes[0] + bytes[1] * 256 + bytes[2] * 65536);
}

// The breathing speed cell of a step time: a fifth of it rounded up, within 1..10.
int BreathLevelOfStepTime(int stepTime) {
    return std::clamp((stepTime + 4) / 5, 1, 10);
}

} // namespace

void TForm1::RefreshUserPages(platform::vcl::TPngImage& png) {
    const auto& v = VendorCopy;
    const auto& u = UserCopy;
    const auto& id = IdentityCopy;
    auto picture = [&](const std::string& image, const char* resource) {
        shell::LoadSkinPng(Named<platform::vcl::TImage>(image), resource, png);
    };
    auto control = [this](const std::string& name) -> platform::vcl::TControl& {
        return Named<platform::vcl::TControl>(name);
    };
    auto levelControls = [&](int n) {
        std::vector<platform::vcl::TControl*> controls;
        for (int k = 1; k <= 12; ++k)
            controls.push_back(&control(shell::LayoutName("Img_DPI", n, "_" + std::to_string(k))));
        controls.push_back(&control(shell::LayoutName("Img_DPI", n)));
        controls.push_back(&control(shell::LayoutName("lbl_DPI", n, "Col")));
        return controls;
    };

    // Levels in use, in the selected colour and taking clicks.
    for (int n = 1; n <= 8; ++n) {
        control(shell::LayoutName("lbl_DPI", n)).Font().SetColor(DpiUnselectedRGB.Color());
        for (platform::vcl::TControl* c : levelControls(n))
            c->SetEnabled(false);
    }
    if (v[VendorCpiLevelCount] <= 7) CPILevelCount = v[VendorCpiLevelCount] + 1;
    CPILastLevelIndex = CPILevelCount - 1;
    for (int n = 1; n <= CPILevelCount; ++n) {
        control(shell::LayoutName("lbl_DPI", n)).Font().SetColor(DpiSelectedRGB.Color());
        for (platform::vcl::TControl* c : levelControls(n))
            c->SetEnabled(true);
    }

    // CPI value of each level: its bar, its caption and the index the handlers read.
    for (int n = 1; n <= 8; ++n) {
        const uint8_t pair = v[VendorCpiIndexes + (n - 1) / 2];
        const int nibble = n % 2 ? pair & 0x0F : pair >> 4;
        if (nibble == NotInUse) continue;
        DrawCpiBar(shell::LayoutName("Img_DPI", n, "_"), nibble, png);
        const std::string text =
            nibble <= 11 ? device::DeviceText("Str" + std::to_string(300 + nibble)) : "";
        Named<controls::unicode::TWideLabel>(shell::LayoutName("lbl_DPI", n, "Value"))
            .SetCaption(text);
        CPILevelValueIndex[n - 1] = nibble;
    }

    // Report rate.
    ReportRateHz = 0;
    ReportRateChanged = 0;
    const int rate = (v[4] >> 4) & 3;
    Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_Rep", rate + 1)).SetChecked(true);
    ReportRateHz = 125 << rate;
    for (int k = 1; k <= 4; ++k)
        picture(shell::LayoutName("Img_Rep", k), k == rate + 1 ? "RdS_E" : "RdS_D");

    // Breathing speed.
    BreathStepLevel = BreathLevelOfStepTime(v[VendorStepTime]);
    for (int k = 1; k <= 10; ++k) {
        const bool lit = DpiLedStatus ? k == BreathStepLevel : k <= BreathStepLevel;
        picture(shell::LayoutName("Img_Fall", k), lit ? "Bar1_E" : "Bar1_D");
    }

    // LED type and mode. Each type offers its own modes; the smart type has no fourth.
    const int type = u[1] >> 6;
    const int mode = u[1] & 0x0F;
    std::vector<int> marks; // radio number of each mode of the type
    if (type == 0) {
        LedType = "RGB";
        marks = {1, 2, 3, 4, 5, 6};
    } else if (type == 1) {
        LedType = "Sync";
        marks = {1, 2, 3};
    } else {
        LedType = "NT";
        marks = {1, 2, 3, 0, 5, 6};
    }
    if (mode < static_cast<int>(marks.size()) && marks[mode] != 0) {
        Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_LED", marks[mode]))
            .SetChecked(true);
        for (int mark : marks)
            if (mark != 0)
                picture(shell::LayoutName("Img_LED", mark),
                        mark == marks[mode] ? "RdS_E" : "RdS_D");
        for (int k = 1; k <= 10; ++k)
            control(shell::LayoutName("Img_Fall", k)).SetEnabled(mode != 0);
    }

    // Colour swatches; the sync type has no colours of its own.
    auto swatchGroup = [&](const std::string& shape, const std::string& image,
                           const std::string& label, int count, int firstByte, bool shown) {
        for (int n = 1; n <= count; ++n) {
            control(shell::LayoutName(image, n, image == "Img_DPI" ? "Col" : "")).SetVisible(shown);
            control(shell::LayoutName(label, n, label == "lbl_DPI" ? "Col" : "")).SetVisible(shown);
            control(shell::LayoutName(shape, n, shape == "cs_DPI" ? "Col" : "")).SetVisible(shown);
        }
        if (!shown) return;
        for (int n = 1; n <= count; ++n)
            Named<platform::vcl::TShape>(
                shell::LayoutName(shape, n, shape == "cs_DPI" ? "Col" : ""))
                .SetBrushColor(Rgb(&v[firstByte + 3 * (n - 1)]));
    };
    if (LedType == "RGB" || LedType == "NT") {
        swatchGroup("cs_DPI", "Img_DPI", "lbl_DPI", 8, VendorCpiColours, true);
        swatchGroup("cs_Col", "Img_Col", "lbl_Col", 10, VendorLedColours, true);
    } else if (LedType == "Sync") {
        swatchGroup("cs_DPI", "Img_DPI", "lbl_DPI", 8, VendorCpiColours, false);
        swatchGroup("cs_Col", "Img_Col", "lbl_Col", 10, VendorLedColours, false);
    }

    // Current CPI level.
    for (int n = 1; n <= 8; ++n)
        picture(shell::LayoutName("Img_DPI", n), "CbS_D");
    if (u[2] <= 7) {
        Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_DPI", u[2] + 1)).SetChecked(true);
        picture(shell::LayoutName("Img_DPI", u[2] + 1), "CbS_E");
    }
    CurrentCPILevel = u[2];

    // Fire keys of the DPI page.
    for (int n = 1; n <= 3; ++n) {
        const int b =
            ::device::image::IdentityFireKey1 + ::device::image::IdentityFireKeyStride * (n - 1);
        const int interval = id[b + 1] * 256 + id[b + 2];
        Named<platform::vcl::TEdit>(shell::LayoutName("Edt_Repeat", n))
            .SetText(platform::rtl::IntToStr(id[b] + 1));
        Named<platform::vcl::TEdit>(shell::LayoutName("Edt_DelayTime", n))
            .SetText(platform::rtl::IntToStr(interval));
        FireKeyShots[n - 1] = id[b] + 1;
        FireKeyInterval[n - 1] = interval;
    }
    RefreshFireKey();
    RefreshAIMKey();

    // The current profile's key page in front, its tab lit on every header.
    const int profile = u[0] & 0x0F;
    if (profile <= 2) {
        static const char* backgrounds[] = {"L1_Back1", "L2_Back1", "L3_Back1"};
        if (LanguageNumber >= 1 && LanguageNumber <= 3)
            picture("Img_P1", backgrounds[LanguageNumber - 1]);
        static const char* tabs[] = {"Img_Main_",   "Img_Switch_", "Img_Fixed_",  "Img_Adv_",
                                     "Img_Breath_", "Img_Macro_",  "Img_Update_", "Img_Engineer_"};
        // The profile's tab shows pressed on every page, the others not; each takes its
        // picture once, so a refresh that changes no profile changes no picture.
        for (int i = 1; i <= 5; ++i)
            for (const char* tab : tabs)
                picture(shell::LayoutName(tab, i), tab == tabs[profile] ? "SetS_03" : "SetS_01");
        Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_", profile + 1)).SetChecked(true);

        // The gun display gives profile 2 a taller menu with the gun keys.
        const bool gunKeys = profile == 1 && GunDisplayEnabled;
        Pnl_Main->SetHeight(gunKeys ? 194 : 170);
        Pnl_Special->SetHeight(gunKeys ? 314 : 242);
        if (!gunKeys || ComboKey8Enabled) {
            control("IB_ComboKey8").SetVisible(gunKeys);
            control("Img_ComboKey8").SetVisible(gunKeys);
        }
        // The profile-switch entry offers the other profile at the top of the one-line menu.
        auto& profile1 = control("Key_Profile1");
        auto& profile2 = control("Key_Profile2");
        if (profile == 0) {
            profile1.SetVisible(false);
            profile2.SetVisible(true);
            profile2.SetTop(1);
        } else if (profile == 1) {
            profile1.SetVisible(true);
            profile1.SetTop(1);
            profile2.SetVisible(false);
        }
        gbPage1->SetVisible(true);
        for (platform::vcl::TControl* page : {gbPage2, gbPage3, gbPage4, gbPage5, gbPage6, gbPage7})
            page->SetVisible(false);
        // The key labels show the current profile's functions.
        if (profile == 0)
            RefreshProfile1Keys();
        else if (profile == 1)
            RefreshProfile2Keys();
        else
            RefreshProfile3Keys();
    }

    RefreshFireFun();
    for (int n = 1; n <= 3; ++n)
        picture(shell::LayoutName("Img_Fire", n, "Continue"),
                Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Fire", n, "Continue"))
                        .Checked()
                    ? "CbS_E"
                    : "CbS_D");
}

} // namespace window
