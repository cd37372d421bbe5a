#pragma once
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "controls/skin/TrayIcon.h"
#include "controls/unicode/WideCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "window/shell/LanguageTexts.h"

#include <cstdint>
#include <string>

// The window shell part of the main window (class TForm1, window/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_SHELL(X)                                                                 \
    X(platform::vcl::TGroupBox, gbPage1)                                                           \
    X(platform::vcl::TGroupBox, gbPage2)                                                           \
    X(platform::vcl::TGroupBox, gbPage3)                                                           \
    X(platform::vcl::TGroupBox, gbPage4)                                                           \
    X(platform::vcl::TGroupBox, gbPage5)                                                           \
    X(platform::vcl::TGroupBox, gbPage6)                                                           \
    X(platform::vcl::TGroupBox, gbPage7)                                                           \
    X(platform::vcl::TImage, Img_P1)                                                               \
    X(platform::vcl::TImage, Img_P2)                                                               \
    X(platform::vcl::TImage, Img_P3)                                                               \
    X(platform::vcl::TImage, Img_P4)                                                               \
    X(platform::vcl::TImage, Img_P5)                                                               \
    X(platform::vcl::TImage, Img_P6)                                                               \
    X(platform::vcl::TImage, Img_Logo4)                                                            \
    X(controls::skin::TSkinPageControl, Pg_Parameter)                                              \
    X(controls::skin::TSkinTabSheet, ts_Gun)                                                       \
    X(controls::skin::TSkinTabSheet, ts_Engineer)                                                  \
    X(controls::skin::TSkinTabSheet, ts_Operator)                                                  \
    X(controls::unicode::TWideLabel, lbl_Content)                                                  \
    X(controls::skin::TFramePanel, Pnl_Main)                                                       \
    X(controls::skin::TFramePanel, Pnl_MseKey)                                                     \
    X(controls::skin::TFramePanel, Pnl_Special)                                                    \
    X(controls::skin::TFramePanel, Pnl_Media)                                                      \
    X(controls::skin::TFramePanel, Pnl_WWW)                                                        \
    X(controls::skin::TFramePanel, Pnl_MyPC)                                                       \
    X(controls::skin::TFramePanel, Pnl_FireKey)                                                    \
    X(controls::skin::TFramePanel, Pnl_CPIKey)                                                     \
    X(controls::skin::TFramePanel, Pnl_ACPI)                                                       \
    X(controls::skin::TFramePanel, Pnl_Profile)                                                    \
    X(controls::skin::TSkinListBox, LB_Name)                                                       \
    X(controls::skin::TSkinListBox, LB_Script)                                                     \
    X(controls::skin::TFramePanel, Pnl_PCMacro)                                                    \
    X(controls::skin::TFramePanel, Pnl_DevMacro)                                                   \
    X(controls::skin::TFramePanel, Pnl_DevContent)                                                 \
    X(controls::skin::TFramePanel, Pnl_DevFireMacro)                                               \
    X(controls::skin::TFramePanel, Pnl_DevFireContent)                                             \
    X(controls::skin::TFramePanel, Pnl_AdjustXY)                                                   \
    X(platform::vcl::TRadioButton, rb_1)                                                           \
    X(platform::vcl::TRadioButton, rb_2)                                                           \
    X(platform::vcl::TRadioButton, rb_3)                                                           \
    X(platform::vcl::TRadioButton, rb_4)                                                           \
    X(platform::vcl::TRadioButton, rb_5)                                                           \
    X(platform::vcl::TRadioButton, rb_6)                                                           \
    X(platform::vcl::TRadioButton, rb_7)                                                           \
    X(platform::vcl::TRadioButton, rb_8)                                                           \
    X(platform::vcl::TRadioButton, rb_Lang1)                                                       \
    X(platform::vcl::TRadioButton, rb_Lang2)                                                       \
    X(platform::vcl::TRadioButton, rb_Lang3)                                                       \
    X(platform::vcl::TTimer, LabelRun)                                                             \
    X(controls::skin::TTrayIcon, TrayIcon1)                                                        \
    X(platform::vcl::TOpenDialog, OpenDialog1)                                                     \
    X(platform::vcl::TSaveDialog, SaveDialog1)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_SHELL(X)                                                               \
    X(Notify, FormCreate)                                                                          \
    X(CloseQuery, FormCloseQuery)                                                                  \
    X(Mouse, Img_BaseMouseDown)                                                                    \
    X(Notify, Btn_Exit1_0Click)                                                                    \
    X(Notify, Btn_Exit2_0Click)                                                                    \
    X(Notify, Btn_Minimize_0Click)                                                                 \
    X(Notify, ButtonTypeIMouseEnter)                                                               \
    X(Notify, ButtonTypeIMouseLeave)                                                               \
    X(Notify, ButtonTypeJMouseEnter)                                                               \
    X(Notify, ButtonTypeJMouseLeave)                                                               \
    X(Notify, ButtonTypeBMouseEnter)                                                               \
    X(Notify, ButtonTypeBMouseLeave)                                                               \
    X(Notify, LabelRunTimer)                                                                       \
    X(Notify, Btn_Lang1_0Click)                                                                    \
    X(Notify, Btn_Lang2_0Click)                                                                    \
    X(Notify, Btn_Lang3_0Click)                                                                    \
    X(Notify, ButtonTypeDMouseEnter)                                                               \
    X(Notify, ButtonTypeDMouseLeave)                                                               \
    X(Notify, Btn_Web_0MouseEnter)                                                                 \
    X(Notify, Btn_Web_0MouseLeave)                                                                 \
    X(Notify, Btn_Web_0Click)                                                                      \
    X(Notify, Btn_Main_0Click)                                                                     \
    X(Notify, Btn_Switch_0Click)                                                                   \
    X(Notify, Btn_Fixed_0Click)                                                                    \
    X(Notify, Btn_Adv_0Click)                                                                      \
    X(Notify, Btn_Breath_0Click)                                                                   \
    X(Notify, Btn_Macro_0Click)                                                                    \
    X(Notify, Btn_Update_0Click)                                                                   \
    X(Notify, Btn_Engineer_0Click)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_SHELL                                                                   \
    /* The hint event of the application; the control property keeps its name. */                  \
    using platform::vcl::TForm::ShowHint;                                                          \
    void ShowHint(platform::vcl::TObject* Sender);                                                 \
    void SizeNormalPages();                                                                        \
    void SizeEngineerPage();                                                                       \
    void HideAllMenu();                                                                            \
    void ButtonTypeB_1IconInit(platform::vcl::TObject* Sender);                                    \
    void DisableMainButtonControl(platform::vcl::TObject* Sender);                                 \
    void EnableMainButtonControl(platform::vcl::TObject* Sender);                                  \
    void RefreshFormMessagDialog(const std::u16string& text);                                      \
    void LoadBackgroundSize();                                                                     \
    void LoadSkinImages();                                                                         \
    void LoadOrgSettings();                                                                        \
    /* Engineering-page captions by the locale (LanguageCaptions.cpp). */                          \
    void SelectLanguageByLocale();                                                                 \
    void ApplyLanguageCaptions();                                                                  \
    /* The language buttons' common steps (LanguageSwitch.cpp); skinApplied leaves out the         \
       skin when the window wears language n's already and nothing has changed it since. */        \
    void SwitchLanguage(int n, bool skinApplied = false);                                          \
    /* Dresses the window for LanguageNumber: pictures, layout section, texts. */                  \
    void ApplySkin();                                                                              \
    /* The component of that name, which must exist and be of that class. */                       \
    template <class T> T& Named(const std::string& name) {                                         \
        return NamedComponent<T>(*this, name);                                                     \
    }                                                                                              \
    /* Page state (Navigation.cpp): the page of the checked page radio shown again. */             \
    void RefreshAPPage(platform::vcl::TObject* Sender = nullptr);                                  \
    /* That page visible, the other six hidden. */                                                 \
    void ShowOnlyPage(platform::vcl::TGroupBox* page);                                             \
    /* Sizes of the key-function menu and the profile choices it offers for profile 0..2. */       \
    void ArrangeProfileMenus(int profile);                                                         \
    /* The same for the engineering page: every key function and both profile choices. */          \
    void ArrangeEngineerMenus();

namespace window::shell {

// Program-wide flags of the main window.
extern uint8_t NoDevicePageFlag; // 1 while the window shows the no-device state
extern uint8_t UiLoadingFlag;    // 1 while the form is filled from an image

// The component of that name on the form; raises when there is none or it has another
// class, since the window code relies on every numbered control of the design.
platform::vcl::TComponent& FindNamedComponent(platform::vcl::TComponent& owner,
                                              const std::string& name);
template <class T> T& NamedComponent(platform::vcl::TComponent& owner, const std::string& name) {
    T* c = dynamic_cast<T*>(&FindNamedComponent(owner, name));
    if (!c) throw platform::rtl::Exception("Component " + name + " has the wrong class");
    return *c;
}

// A colour of the layout texts as its three values, kept unchanged; the colour value is
// R + G * 256 + B * 65536 (red in the low byte), components not clamped.
struct LayoutRgb {
    int R = 0;
    int G = 0;
    int B = 0;
    platform::vcl::TColor Color() const {
        return static_cast<platform::vcl::TColor>(R + G * 256 + B * 65536);
    }
};

// State the main window holds for this part.
struct Form1ShellState {
    // Size of the whole-window background, the size of the normal pages.
    int PageWidth = 0;
    int PageHeight = 0;
    std::string ProgramFolder; // with its trailing delimiter
    int LanguageNumber = 1;
    // Settings of the [org] section.
    bool WebLinkEnabled = false;
    std::string WebLink;
    int ReserveManufacturerId = 0;
    int ReserveProductId = 0;
    std::string MacroLibraryFolder; // empty, or a folder with its trailing delimiter
    bool TextRollingEnabled = false;
    bool GunDisplayEnabled = false;
    bool DpiLedStatus = false;
    int Gun6Number = 0;
    int Gun7Number = 0;
    int NumberOrder = 0;
    // Rolling text of the hovered header label.
    std::string RollingLabelName;
    std::u16string RollingLabelCaption;
    std::u16string RollingText;
    int RollingStep = 0;
    // Layout of the current language.
    int MenuCaptionInsetFront = 0; // menu caption starts this far right of its picture
    int MenuCaptionInsetBack = 0;  // and ends this far before the picture's right edge
    bool ComboKey8Enabled = false; // the layout offers the eighth combination switch
    LayoutRgb KeyMenuFontRGB;      // button-function menu: text, background, hot text and
    LayoutRgb KeyMenuBackRGB;      // hot background
    LayoutRgb KeyMenuHotFontRGB;
    LayoutRgb KeyMenuHotBackRGB;
    int DpiStepOrientation = 0; // 0 step bars stacked upward, 1 to the right, else kept
    LayoutRgb DpiSelectedRGB;   // DPI level labels, selected and not
    LayoutRgb DpiUnselectedRGB;
    LayoutRgb MacroTextRGB; // macro page: text, list text, button background
    LayoutRgb MacroListFontRGB;
    LayoutRgb MacroButtonBackRGB;
    int MacroNameItemHeight = 0; // item height of the macro name lists
    // Texts of the current language.
    std::string LangFontName;
    std::string TitleText;
    // Caption of each language's first button right after the last switch to it; leaving a
    // language button puts it back on the current language's buttons.
    std::u16string Language1Caption;
    std::u16string Language2Caption;
    std::u16string Language3Caption;
    // Texts of the current language that handlers show later (messages, function names,
    // DPI values, preset names), one field per table key.
    TLangTexts LangTexts;
};

} // namespace window::shell
