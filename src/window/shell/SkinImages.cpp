#include "window/shell/SkinImages.h"

#include "platform/rtl/SysUtils.h"
#include "window/Main.h"

#include <QPixmap>
#include <string>

namespace window::shell {

namespace {

// The pictures being decoded ahead; set and cleared on the main thread only.
TSkinPicturesAhead* g_ahead = nullptr;

// The sizes the program's icon is drawn in ("AppIcon_<size>").
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

std::string IconPicture(int size) {
    return "AppIcon_" + std::to_string(size);
}

void AwaitAhead(const std::string& resourceName) {
    if (g_ahead) g_ahead->Await(resourceName);
}

} // namespace

TSkinPicturesAhead::TSkinPicturesAhead(const std::vector<std::string>& resourceNames)
    : work_(
          resourceNames,
          [](const std::string& name) {
              // Shares the picture on success; on failure the load that asks for it raises.
              platform::vcl::TPngImage decoder;
              decoder.LoadFromResourceName(name);
          },
          "skin pictures") {
    g_ahead = this;
}

TSkinPicturesAhead::~TSkinPicturesAhead() {
    if (g_ahead == this) g_ahead = nullptr;
}

std::vector<std::string> StartupSkinPictures() {
    std::vector<std::string> names;
    for (int size : kIconSizes)
        names.push_back(IconPicture(size));
    for (const char* name :
         {"L1_BackGround", "L1_Back1",     "L1_Back2", "L1_Back3", "L1_Back4", "BtnS_01",
          "ExitS_01",      "MiniS_01",     "SetS_03",  "SetS_01",  "KeyS_01",  "WebS_01",
          "CbS_D",         "Bar1_E",       "Bar2_E",   "Col_F",    "RdS_D",    "RdS_E",
          "MacroS_01",     "MacroBtnS_01", "Update",   "L1_Back5", "Gun1_02",  "Gun2_01",
          "Gun3_01",       "Gun4_01",      "Gun5_01",  "Gun6_01",  "Gun7_01",  "GunMode1",
          "GunMode2",      "GunMode3",     "GunMode4", "GunMode5", "CbS_E",    "InsertDelayBase",
          "Bar2_D"})
        names.push_back(name);
    return names;
}

std::vector<std::string> StartupGifPictures() {
    return {"BUSYGIF"};
}

void LoadSkinPng(platform::vcl::TImage& target, const std::string& resourceName,
                 platform::vcl::TPngImage& decoder) {
    AwaitAhead(resourceName);
    // Each resource is decoded once and its picture shared from then on; a decoding error
    // names the picture as a load from the resource's stream always has.
    decoder.LoadFromResourceName(resourceName, "from stream");
    target.SetPicture(decoder.ToQImage(), resourceName);
}

QIcon ProgramIcon() {
    QIcon icon;
    platform::vcl::TPngImage decoder;
    for (int size : kIconSizes) {
        const std::string name = IconPicture(size);
        AwaitAhead(name);
        decoder.LoadFromResourceName(name);
        icon.addPixmap(QPixmap::fromImage(decoder.ToQImage()));
    }
    return icon;
}

} // namespace window::shell

namespace window {

namespace {

std::string Numbered(const std::string& prefix, int n) {
    return prefix + std::to_string(n);
}

} // namespace

void TForm1::LoadBackgroundSize() {
    platform::vcl::TPngImage decoder;
    // Always the first language's background: the page size does not follow the language.
    platform::vcl::TImage& base = Named<platform::vcl::TImage>("Img_Base_1");
    shell::LoadSkinPng(base, "L1_BackGround", decoder);
    PageWidth = base.Width();
    PageHeight = base.Height();
    for (const char* overlay : {"Disable_All_1", "Disable_All_2", "Disable_All_3", "Disable_All_4",
                                "Disable_All_4_1", "Disable_All_5"}) {
        platform::vcl::TControl& label = Named<platform::vcl::TControl>(overlay);
        label.SetWidth(PageWidth);
        label.SetHeight(PageHeight);
    }
}

void TForm1::LoadSkinImages() {
    platform::vcl::TPngImage decoder;
    auto load = [&](const std::string& name, const char* resource) {
        shell::LoadSkinPng(Named<platform::vcl::TImage>(name), resource, decoder);
    };
    // The five header copies of one picture family member.
    auto copies = [&](const std::string& prefix, const char* resource) {
        for (int k = 1; k <= 5; ++k)
            load(Numbered(prefix, k), resource);
    };
    auto range = [&](const std::string& prefix, int from, int to, const char* resource,
                     const std::string& suffix = "") {
        for (int i = from; i <= to; ++i)
            load(Numbered(prefix, i) + suffix, resource);
    };

    range("Img_Base_", 1, 6, "L1_BackGround");
    if (rb_1->Checked() || rb_2->Checked() || rb_3->Checked())
        shell::LoadSkinPng(*Img_P1, "L1_Back1", decoder);
    shell::LoadSkinPng(*Img_P2, "L1_Back2", decoder);
    shell::LoadSkinPng(*Img_P3, "L1_Back3", decoder);
    shell::LoadSkinPng(*Img_P4, "L1_Back4", decoder);
    for (const char* family : {"Img_Confirm1_", "Img_Confirm2_", "Img_Confirm3_", "Img_Exit2_"})
        copies(family, "BtnS_01");
    copies("Img_Exit1_", "ExitS_01");
    copies("Img_Mini_", "MiniS_01");
    // Profile 1 and language 1 are current at start.
    copies("Img_Main_", "SetS_03");
    copies("Img_Lang1_", "SetS_03");
    for (const char* family :
         {"Img_Switch_", "Img_Fixed_", "Img_Adv_", "Img_Breath_", "Img_Macro_", "Img_Update_",
          "Img_Engineer_", "Img_Save_", "Img_Load_", "Img_Lang2_", "Img_Lang3_"})
        copies(family, "SetS_01");
    range("Img_Key", 1, 12, "KeyS_01");
    load("Img_LoadBIN", "KeyS_01");
    load("Img_Program", "KeyS_01");
    copies("Img_Web_", "WebS_01");
    range("Img_ComboKey", 1, 8, "CbS_D");
    range("Img_Fire", 1, 3, "CbS_D", "Continue");
    // Only the first cell of each bar: the settings pages draw the rest.
    load("Img_Spd1", "Bar1_E");
    load("Img_DbSpd1", "Bar1_E");
    load("Img_ScrSpd1", "Bar1_E");
    for (int level = 1; level <= 8; ++level)
        load("Img_DPI" + std::to_string(level) + "_1", "Bar2_E");
    load("Img_AIMDPI_1", "Bar2_E");
    range("Img_DPI", 1, 8, "Col_F", "Col");
    range("Img_Col", 1, 10, "Col_F");
    load("Img_Fall1", "Bar1_E");
    load("LED_DelayTime", "RdS_D");
    load("LED_NoDelay", "RdS_D");
    load("LED_RecDelay", "RdS_E");
    load("Img_New", "MacroS_01");
    load("Img_Start", "MacroS_01");
    load("Img_InsertStart", "MacroS_01");
    load("Img_OK", "MacroBtnS_01");
    load("Img_Cancel", "MacroBtnS_01");
    shell::LoadSkinPng(*Img_P5, "Update", decoder);
    shell::LoadSkinPng(*Img_P6, "L1_Back5", decoder);
    load("Img_Fire1", "Gun1_02");
    for (int k = 2; k <= 7; ++k)
        load(Numbered("Img_Fire", k), ("Gun" + std::to_string(k) + "_01").c_str());
    for (int k = 1; k <= 5; ++k)
        load(Numbered("Img_GunMode", k), ("GunMode" + std::to_string(k)).c_str());
    // The left-button box's picture shows the box's state, which Confirm reads.
    load("Img_FireSelLeft", shell::CheckMarkPicture(cb_FireSelLeft->Checked()));
    load("Img_FireConfirm", "BtnS_01");
    load("Img_FireExit", "BtnS_01");
    load("Img_FireStart", "MacroS_01");
    load("Img_FireOK", "MacroBtnS_01");
    load("Img_FireCancel", "MacroBtnS_01");
    range("Img_FireColor", 1, 3, "Col_F");
    load("LED_FireDelayTime", "RdS_D");
    load("LED_FireNoDelay", "RdS_D");
    load("LED_FireRecDelay", "RdS_E");
    load("Img_FireDelay", "InsertDelayBase");
    load("Img_FireInsert", "InsertDelayBase");
}

} // namespace window
