// Start-up, page sizing, dragging and close of the main window.
#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "platform/desktop/User32.h"
#include "window/Main.h"
#include "window/device/MainDevice.h"
#include "window/device/ThreadGetData.h"
#include "window/settings/Form1Settings.h"
#include "window/shell/LanguageTables.h"

#include <filesystem>
#include <system_error>

namespace window::shell {

uint8_t NoDevicePageFlag = 0;
uint8_t UiLoadingFlag = 0;

platform::vcl::TComponent& FindNamedComponent(platform::vcl::TComponent& owner,
                                              const std::string& name) {
    platform::vcl::TComponent* c = owner.FindComponent(name);
    if (!c) throw platform::rtl::Exception("Component " + name + " not found");
    return *c;
}

} // namespace window::shell

namespace window {

namespace {

std::string RunningProgramPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

constexpr int EngineerWidth = 1256;
constexpr int EngineerHeight = 680;

} // namespace

void TForm1::SizeNormalPages() {
    SetWidth(PageWidth);
    SetHeight(PageHeight);
    for (platform::vcl::TGroupBox* page : {gbPage1, gbPage2, gbPage3, gbPage4, gbPage5, gbPage6}) {
        page->SetWidth(PageWidth);
        page->SetHeight(PageHeight);
    }
    gbPage7->SetWidth(EngineerWidth);
    gbPage7->SetHeight(EngineerHeight);
}

void TForm1::SizeEngineerPage() {
    SetWidth(EngineerWidth);
    SetHeight(EngineerHeight);
    for (platform::vcl::TGroupBox* page : {gbPage1, gbPage2, gbPage3, gbPage4, gbPage5, gbPage6}) {
        page->SetWidth(PageWidth);
        page->SetHeight(PageHeight);
    }
    gbPage7->SetWidth(EngineerWidth);
    gbPage7->SetHeight(EngineerHeight);
}

void TForm1::FormCreate(platform::vcl::TObject* /*Sender*/) {
    // A message of the start-up (a macro library or fire script file that cannot be used)
    // waits for the user; the device timer must not look for the mouse meanwhile, before
    // the table of the ids to look for is set, or it would take the mouse for absent and
    // never look again. It runs from the end of the start-up, however that ends.
    struct DeviceTimerHeld {
        platform::vcl::TTimer& timer;
        bool enabled = timer.Enabled();
        ~DeviceTimerHeld() { timer.SetEnabled(enabled); }
    } heldTimer{*DevTimer};
    DevTimer->SetEnabled(false);
    ShowDisableOverlays();
    // The notification-area icon shows the program's own icon.
    TrayIcon1->SetIcon(controls::skin::ApplicationIcon());

    // Nothing of an earlier run is kept: every device, display and page flag starts clear.
    shell::NoDevicePageFlag = 0;
    shell::UiLoadingFlag = 0;
    ReportRateHz = 0;
    ReportRateChanged = 0;
    device::PingAnswered = 0;
    DetectedInterface.clear();
    LedType.clear();
    CPILevelCount = 8;
    FireHoldSyncGuard = 0;
    MacroInsertMode = 0;
    MacroRecording = 0;
    InsertRecordingFlag = 0;
    NewMacroNameFlag = 0;
    RenameMacroFlag = 0;
    FireMacroNameFlag = 0;
    MacroListFlag = 0;
    FirmwareFileLoaded = 0;
    WebLinkEnabled = false;
    MacroLibraryFolder.clear();

    LoadBackgroundSize();
    SizeNormalPages();
    SetLeft((platform::vcl::Screen()->Width() - PageWidth) / 2);
    SetTop((platform::vcl::Screen()->Height() - PageHeight) / 2);

    // The window takes the shape of its background: maroon is see-through.
    SetBorderIcons(0);
    SetColor(platform::vcl::clMaroon);
    SetTransparentColor(true);
    SetTransparentColorValue(platform::vcl::clMaroon);

    SetDoubleBuffered(true);
    for (platform::vcl::TWinControl* c : std::initializer_list<platform::vcl::TWinControl*>{
             Gb_Delay,     Gb_Insert,      gbPage1,     gbPage2,      gbPage3,     gbPage4,
             gbPage5,      gbPage6,        gbPage7,     Pg_Parameter, ts_Operator, ts_Engineer,
             ts_Gun,       Pnl_Main,       Pnl_MseKey,  Pnl_Special,  Pnl_WWW,     Pnl_MyPC,
             Pnl_FireKey,  Pnl_CPIKey,     Pnl_ACPI,    Pnl_Profile,  Pnl_Media,   Pnl_PCMacro,
             Pnl_DevMacro, Pnl_DevContent, Pnl_AdjustXY})
        c->SetDoubleBuffered(true);

    ::device::CommandHandle = platform::win::INVALID_HANDLE_VALUE;
    ::device::DataHandle = platform::win::INVALID_HANDLE_VALUE;
    ::device::ReadWriteHandle = platform::win::INVALID_HANDLE_VALUE;
    ProgramFolder = platform::rtl::ExtractFilePath(RunningProgramPath());
    platform::vcl::Application()->OnHint = [this](platform::vcl::TObject* sender) {
        ShowHint(sender);
    };
    MacroLibraryFolder.clear();
    ShowDisableOverlays();

    LoadSkinImages();
    LoadOrgSettings();
    CheckPCMacro(nullptr);
    settings::LoadFireMacroFile(*this);
    SelectLanguageByLocale();
    // No language is remembered between runs: every start is in the first language.
    LanguageNumber = 1;
    ApplySkin();
    for (const char* list :
         {"LB_PCMacroName", "LB_MacroName", "LB_macro", "LB_FireMacroName", "LB_FireMacro"})
        Named<platform::vcl::TListBox>(list).SetItemHeight(MacroNameItemHeight);

    ::device::LoadDefaultImageHeader();
    const auto& h = ::device::DefaultImageHeader;
    const uint32_t defaultVendorId = h[0] * 256u + h[1];
    const uint32_t defaultProductId = h[2] * 256u + h[3];
    ::device::DeriveMemoryType();
    // Only an I2C image names the identity a found mouse must carry.
    if (::device::MemoryType == "I2C") {
        device::ExpectedManufacturerId = h[0x1E4];
        device::ExpectedProductId = h[0x1E5];
    }

    RefreshErrorAP(nullptr);
    RefreshMouseSystemParameterA(nullptr);
    RefreshMouseSystemParameterB(nullptr);
    platform::vcl::Application()->SetTitle(TitleText);

    ::device::DeviceIdTable[0] = {defaultVendorId, defaultProductId};

    gbPage1->SetVisible(true);
    for (platform::vcl::TGroupBox* page : {gbPage2, gbPage3, gbPage4, gbPage5, gbPage6, gbPage7})
        page->SetVisible(false);

    // Numbers read from the right in every count, time and offset edit.
    for (const char* name :
         {"Edt_Repeat1",        "Edt_Repeat2",        "Edt_Repeat3",      "Edt_DelayTime1",
          "Edt_DelayTime2",     "Edt_DelayTime3",     "Edt_Delay",        "Edt_InsertDelay",
          "edt_Repeat",         "edt_XAxisValue",     "edt_YAxisValue",   "Edt_FireCnt1",
          "Edt_FireCnt2",       "Edt_FireCnt3",       "Edt_FireTime1",    "Edt_FireTime2",
          "Edt_FireTime3",      "Edt_FireX1",         "Edt_FireX2",       "Edt_FireX3",
          "Edt_FireX1Offset",   "Edt_FireX2Offset",   "Edt_FireX3Offset", "Edt_FireY1",
          "Edt_FireY2",         "Edt_FireY3",         "Edt_FireY1Offset", "Edt_FireY2Offset",
          "Edt_FireY3Offset",   "Edt_FireDelay",      "edt_FireRepeat",   "edt_FireXAxisValue",
          "edt_FireYAxisValue", "Edt_InsertFireDelay"})
        Named<platform::vcl::TEdit>(name).SetAlignment(platform::vcl::taRightJustify);

    // The language's switch: the window wears that language's skin since ApplySkin above,
    // and no step since changes anything the skin sets, so the switch leaves it be.
    if (LanguageNumber >= 1 && LanguageNumber <= shell::LanguageCount)
        SwitchLanguage(LanguageNumber, /*skinApplied=*/true);

    device::StartPrimeThread(*this);
    Repaint();
}

void TForm1::ShowHint(platform::vcl::TObject* /*Sender*/) {
    controls::unicode::TWideLabel::SetCaption(
        lbl_Content, controls::unicode::AnsiToWide(platform::vcl::Application()->Hint()));
}

void TForm1::Img_BaseMouseDown(platform::vcl::TObject* /*Sender*/,
                               platform::vcl::TMouseButton /*Button*/,
                               platform::vcl::TShiftState /*Shift*/, int /*X*/, int /*Y*/) {
    HideAllMenu();
    platform::desktop::ReleaseCapture();
    platform::desktop::SendMessageA(Handle(), platform::desktop::WM_SYSCOMMAND,
                                    platform::desktop::SC_DRAGMOVE, 0);
}

void TForm1::FormCloseQuery(platform::vcl::TObject* /*Sender*/, bool& CanClose) {
    // The polling thread ends first (a window update it waits for still runs), so that
    // nothing reads the mouse once its handles go.
    device::StopPrimeThread();
    // No further exchange starts; a read blocked in another thread wakes and fails, and
    // the handles are closed rather than left to the process end.
    ::device::ReleaseDeviceHandles();
    delete TrayIcon1;
    TrayIcon1 = nullptr;
    CanClose = true;
}

} // namespace window
