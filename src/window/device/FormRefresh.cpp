// The whole configuration on every page: the engineering page first, from the section
// copies alone, then the user pages (UserPageRefresh.cpp). Nothing is read from the mouse
// and nothing is written back to the copies; the caller holds UiLoadingFlag so that the
// handlers the refresh sets off leave the mouse alone.
#include "device/Conversion.h"
#include "device/DeviceImage.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/shell/LayoutApply.h"

#include <cstdio>

namespace window {
namespace {

std::string HexDigits(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

int Bits(uint8_t byte, int high, int low) {
    return (byte >> low) & ((1 << (high - low + 1)) - 1);
}

int U16(const uint8_t* bytes) {
    return bytes[0] * 256 + bytes[1];
}

// One option combo of the engineering page: its bits of a vendor byte and the item each
// bit value shows (most are straight; three are the inverse of what their handlers write).
struct OptionCombo {
    const char* name;
    int byte;
    int high;
    int low;
    std::array<int, 4> items;
};

constexpr std::array<int, 4> Straight{0, 1, 2, 3};

constexpr OptionCombo OptionsBeforeRate[] = {{"cb_ICType", 4, 7, 6, Straight}};
constexpr OptionCombo OptionsAfterRate[] = {{"cb_SensorEnhance", 4, 3, 3, Straight}};
constexpr OptionCombo OptionsAfterPackage[] = {
    {"cb_KbdType", 5, 6, 6, Straight},        {"cb_CPIIndication", 5, 5, 4, {0, 0, 1, 2}},
    {"cb_CPISet", 5, 3, 2, {3, 2, 1, 0}},     {"cb_CPILevel", 5, 1, 0, Straight},
    {"cb_SensorRotation", 6, 7, 6, Straight}, {"cb_CPIPrescaleSel", 6, 5, 4, {3, 1, 2, 0}},
    {"cb_FireKeyFreq", 6, 3, 2, Straight},    {"cb_FireKeyCount", 6, 1, 0, Straight},
    {"cb_LEDCtrl0", 7, 7, 7, Straight},       {"cb_LEDCtrl1", 7, 6, 6, Straight},
    {"cb_LEDModeFuse", 7, 5, 4, Straight},    {"cb_ComboKeyTime", 7, 3, 3, Straight},
    {"cb_USBCDR", 7, 2, 2, Straight},         {"cb_SensorSleep", 7, 1, 1, Straight},
    {"cb_LEDPower", 7, 0, 0, Straight},       {"cb_EFTrelyNAK", 8, 3, 3, Straight},
    {"cb_EFTrelug", 8, 2, 2, Straight},       {"cb_KeepProfileInfo", 8, 1, 1, Straight},
    {"cb_ProfileLEDFlash", 8, 0, 0, Straight}};

// The sensor registers at vendor bytes 9..41, in byte order.
constexpr const char* SensorRegisterEdits[] = {"edt_Avg_lb_lq",
                                               "edt_Avg_hb_lq",
                                               "edt_Avg_tg_lq",
                                               "edt_Avg_lb",
                                               "edt_Avg_hb",
                                               "edt_Avg_tg",
                                               "edt_MiscBitCfg",
                                               "edt_HSqDcrDiv_LSqDcrDiv",
                                               "edt_LfBpsShlThr",
                                               "edt_LfHfsqThr",
                                               "edt_CrpThrGain1Sql",
                                               "edt_CrpThrGain1Sqh",
                                               "edt_CrpThrGain2Sql",
                                               "edt_CrpThrGain2Sqh",
                                               "edt_CrpThrGain4Sql",
                                               "edt_CrpThrGain4Sqh",
                                               "edt_CrpThrGain8Sqx",
                                               "edt_BpGainThr_LandThrWeight",
                                               "edt_CrpCntThr_LftBpsGainThr",
                                               "edt_HsqCorBit_LsqCorBit",
                                               "edt_LftCorBitAvgThr",
                                               "edt_SubpixCorBit_MaxGain",
                                               "edt_MaxShut",
                                               "edt_LandCntThr",
                                               "edt_LiftCntThr",
                                               "edt_CorBitHfsqThr",
                                               "edt_illumXledAvgThr",
                                               "edt_BpHfsqThr",
                                               "edt_HgLsqCorBit_LgLsqCorBit",
                                               "edt_HgLsqThr",
                                               "edt_Misc_G8CorBit",
                                               "edt_LEDInit0",
                                               "edt_LEDInit1"};
static_assert(std::size(SensorRegisterEdits) == ::device::image::VendorSensorRegisters.Length);

using ::device::image::VendorCpiIndexes;
using ::device::image::VendorCpiLevelCount;
using ::device::image::VendorStepTime;
constexpr int VendorBreathing = ::device::image::VendorBreathing.Offset;
constexpr int VendorLedColours = ::device::image::VendorLedColours.Offset;
constexpr int VendorCpiColours = ::device::image::VendorCpiColours.Offset;

} // namespace

void TForm1::RefreshUI(platform::vcl::TObject* /*Sender*/) {
    RefreshEngineeringPage();
    // Step 4 and the picture-drawing refreshers of the engineering page use decoders of
    // their own; the user pages share this one, which goes however they end.
    platform::vcl::TPngImage png;
    SharedPng = &png;
    try {
        RefreshUserPages(png);
    } catch (...) {
        SharedPng = nullptr;
        throw;
    }
    SharedPng = nullptr;
}

void TForm1::RefreshEngineeringPage() {
    const auto& v = VendorCopy;
    const auto& u = UserCopy;
    const auto& id = IdentityCopy;
    auto combo = [this](const std::string& name) -> controls::skin::TSkinComboBox& {
        return Named<controls::skin::TSkinComboBox>(name);
    };
    auto edit = [this](const std::string& name) -> platform::vcl::TEdit& {
        return Named<platform::vcl::TEdit>(name);
    };
    auto show = [&](const OptionCombo& option) {
        combo(option.name)
            .SetItemIndex(option.items[Bits(v[option.byte], option.high, option.low)]);
    };

    // Option combos from vendor bytes 4 to 8.
    for (const OptionCombo& option : OptionsBeforeRate)
        show(option);
    ReportRateHz = 0;
    ReportRateChanged = 0;
    const int rate = Bits(v[4], 5, 4);
    combo("cb_RepRate").SetItemIndex(rate);
    ReportRateHz = 125 << rate;
    for (const OptionCombo& option : OptionsAfterRate)
        show(option);
    if (Bits(v[5], 7, 7) == 0) {
        cb_Package->SetItemIndex(0);
        TLRefreshBasicLEDKeyStatus();
    } else {
        cb_Package->SetItemIndex(1);
        TLRefreshRGBLEDKeyStatus();
    }
    for (const OptionCombo& option : OptionsAfterPackage)
        show(option);

    // USB identity and product text.
    edit("edt_VID").SetText(HexDigits(U16(&v[::device::image::VendorUsbVendorId]), 4));
    edit("edt_PID").SetText(HexDigits(U16(&v[::device::image::VendorUsbProductId]), 4));
    std::string product;
    for (int i = 0; i < ::device::image::VendorProductString.Length; ++i) {
        const uint8_t c = v[::device::image::VendorProductString.Offset + i];
        if (c == 0) break;
        product += static_cast<char>(c);
    }
    // One character per byte of the ANSI code page, as the mouse's 8-bit text is meant.
    edit("edt_USBDesc").SetText(::device::AnsiBytesToText(product));

    for (size_t i = 0; i < std::size(SensorRegisterEdits); ++i)
        edit(SensorRegisterEdits[i])
            .SetText(HexDigits(v[::device::image::VendorSensorRegisters.Offset + i], 2));

    combo("cb_CPISteps").SetItemIndex(v[VendorCpiLevelCount]);
    cb_CPIStepsChange(nullptr);
    for (int level = 1; level <= 8; ++level) {
        const uint8_t pair = v[VendorCpiIndexes + (level - 1) / 2];
        const int nibble = level % 2 ? pair & 0x0F : pair >> 4;
        combo(shell::LayoutName("cb_CPI", level)).SetItemIndex(nibble);
    }

    const char* breathing[] = {"edt_Lower", "edt_Upper", "edt_LowerTime", "edt_UpperTime"};
    for (int i = 0; i < 4; ++i)
        edit(breathing[i]).SetText(platform::rtl::IntToStr(U16(&v[VendorBreathing + 2 * i])));
    edit("edt_StepTime").SetText(platform::rtl::IntToStr(v[VendorStepTime]));

    const char* rgb[] = {"R", "G", "B"};
    for (int n = 1; n <= 10; ++n)
        for (int c = 0; c < 3; ++c)
            edit(shell::LayoutName("edt_Col", n, rgb[c]))
                .SetText(platform::rtl::IntToStr(v[VendorLedColours + 3 * (n - 1) + c]));
    for (int n = 1; n <= 8; ++n)
        for (int c = 0; c < 3; ++c)
            edit(shell::LayoutName("edt_CPI", n, rgb[c]))
                .SetText(platform::rtl::IntToStr(v[VendorCpiColours + 3 * (n - 1) + c]));

    // Current profile and its colour; colours 10..14 have no item and keep the shown one.
    const int colour = u[0] >> 4;
    if (colour <= 9)
        cb_ProfileColor->SetItemIndex(colour);
    else if (colour == 15)
        cb_ProfileColor->SetItemIndex(10);
    cb_Profile->SetItemIndex(u[0] & 0x0F);

    // LED type, which decides what the rest of the lighting controls mean.
    const int type = Bits(u[1], 7, 6);
    cb_LEDMode->SetItemIndex(type >= 2 ? 2 : type);
    TLRefreshLEDTypeMode();
    for (int k = 0; k < 6; ++k)
        Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Mode", k))
            .SetChecked((v[::device::image::VendorBreathModes] >> k) & 1);
    TLRefreshBreathParameter();
    if (LedType == "NT") combo("cb_LEDNum").SetItemIndex(Bits(u[1], 6, 4));
    const int mode = u[1] & 0x0F;
    auto& breathMode = combo("cb_BreMode");
    switch (cb_LEDMode->ItemIndex()) {
    case 0:
        if (mode <= 6) breathMode.SetItemIndex(mode);
        break;
    case 1:
        if (mode <= 2) breathMode.SetItemIndex(mode);
        break;
    case 2: {
        static constexpr int smartItems[] = {0, 1, 2, -1, 3, 4};
        if (mode < 6 && smartItems[mode] >= 0) breathMode.SetItemIndex(smartItems[mode]);
        break;
    }
    default:
        break;
    }

    combo("cb_CurrentCPI").SetItemIndex(u[2]);
    // Values 4 and 5 are the button effect written while the gun display owns profile 2.
    cb_BtnEFT->SetItemIndex(u[3] <= 1 ? u[3] : std::max(u[3] - 4, -1));

    for (int n = 1; n <= 10; ++n) {
        edit(shell::LayoutName("edt_XOffset", n))
            .SetText(platform::rtl::IntToStr(
                static_cast<int8_t>(u[::device::image::UserRecoilX + n - 1])));
        edit(shell::LayoutName("edt_YOffset", n))
            .SetText(platform::rtl::IntToStr(
                static_cast<int8_t>(u[::device::image::UserRecoilY + n - 1])));
    }

    const int manufacturer = id[::device::image::IdentityManufacturer];
    const int productId = id[::device::image::IdentityProduct];
    edit("edt_VendorID").SetText(platform::rtl::IntToStr(manufacturer));
    edit("edt_ProductID").SetText(platform::rtl::IntToStr(productId));
    edt_VendorID_Rd->SetText(platform::rtl::IntToStr(manufacturer));
    edt_ProductID_Rd->SetText(platform::rtl::IntToStr(productId));

    for (int n = 1; n <= 3; ++n) {
        const int b =
            ::device::image::IdentityFireKey1 + ::device::image::IdentityFireKeyStride * (n - 1);
        const int interval = U16(&id[b + 1]);
        combo(shell::LayoutName("cb_Fire", n, "Count")).SetItemIndex(id[b]);
        edit(shell::LayoutName("edt_Fire", n, "Time")).SetText(platform::rtl::IntToStr(interval));
        FireKeyShots[n - 1] = id[b] + 1;
        FireKeyInterval[n - 1] = interval;
    }

    // The combination keys of the engineering page are named by their codes.
    RefreshComboKeyCaptions();

    TLRefreshFireKey();
    TLRefreshAIMKey();
    TLRefreshProfile1Keys();
    TLRefreshProfile2Keys();
    TLRefreshProfile3Keys();
    TLRefreshLEDModeFun();
    TLRefreshFireFun();
}

} // namespace window
