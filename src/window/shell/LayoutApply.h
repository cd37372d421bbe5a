#pragma once
// Unit LayoutApply: one language's layout section ([org1]..[org3]) applied to the main
// window key by key. Which key reaches which control and property is fixed here; the
// texts only give the values.
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Controls.h"
#include "window/shell/Form1Shell.h"

#include <string>
#include <vector>

namespace window {

class TForm1;

} // namespace window

namespace window::shell {

// What one pass over a layout section did besides moving controls: the keys it read, in
// reading order, and the controls it would have set that the form design does not have.
struct LayoutReport {
    std::vector<std::string> KeysRead;
    std::vector<std::string> AbsentControls;
    // The controls whose font size the section set, in setting order; the language's
    // font goes to the same controls.
    std::vector<std::string> FontControls;
};

// Reads the keys of one layout section and sets the controls of the main window. Every
// key is an integer; a missing or non-numeric one raises the conversion error at that
// key, and what was set before it stays set. Only a header button's own caption size may
// be left out.
class TLayoutApplier {
public:
    TLayoutApplier(TForm1& form, const platform::rtl::TMemIniFile& ini, std::string section);

    // Window chrome, menu buttons, key page and button-function menu.
    void ApplyChrome();
    void ApplyMenuButtons();
    void ApplyKeyPage();
    void ApplyKeyMenu();
    // The settings pages: performance, lighting, macro, update, fire.
    void ApplyPerformancePage();
    void ApplyLightingPage();
    void ApplyMacroPage();
    void ApplyUpdatePage();
    void ApplyFirePage();

    const LayoutReport& Report() const { return report_; }

private:
    struct Point {
        int X = 0, Y = 0;
    };

    int Integer(const std::string& key);
    // The three keys prefix_R, prefix_G, prefix_B, unclamped.
    LayoutRgb ReadRgb(const std::string& prefix);
    platform::vcl::TColor ReadColor(const std::string& prefix);
    // The keys prefix_X and prefix_Y.
    Point ReadPoint(const std::string& prefix);

    // The control of that name, or nullptr (noted in the report) when the design lacks it.
    platform::vcl::TControl* Find(const std::string& name);
    template <class T> T* FindAs(const std::string& name);

    void SetFontSize(const std::vector<std::string>& names, int size);
    void SetFontColor(const std::vector<std::string>& names, platform::vcl::TColor color);
    void SetColor(const std::vector<std::string>& names, platform::vcl::TColor color);
    void SetBorderColor(const std::vector<std::string>& names, platform::vcl::TColor color);
    void PlaceAt(const std::string& name, int x, int y);
    // Places the control at (x, y) and gives it the size of the image.
    void PlaceOnImage(const std::string& name, const std::string& image, int x, int y);
    int WidthOf(const std::string& name);
    int HeightOf(const std::string& name);

    // A picture with its caption label over it, placed from prefix_X and prefix_Y.
    void ImageWithLabel(const std::string& prefix, const std::string& image,
                        const std::string& label);
    // A header button of the five pages, shown and placed from prefix_Enable, _X, _Y;
    // the label starts `front` pixels right of its picture and ends `back` before its end.
    // An optional prefix_Size gives its caption a font size other than its group's.
    void HeaderButton(const std::string& prefix, const std::string& image, const std::string& label,
                      int front = 0, int back = 0);
    // The three radio rows of a delay choice from prefix_X, _Y and the row pitch prefix_H.
    void RadioRows(const std::string& prefix, const std::vector<std::string>& leds,
                   const std::vector<std::string>& labels);
    // The step bars of one DPI level.
    void DpiSteps(const std::string& prefix, const std::string& bars);

    TForm1& form_;
    const platform::rtl::TMemIniFile& ini_;
    std::string section_;
    LayoutReport report_;
};

// Names of numbered controls and keys: prefix, number, suffix ("Img_DPI", 3, "Col").
std::string LayoutName(const std::string& prefix, int n, const std::string& suffix = "");
std::vector<std::string> LayoutNames(const std::string& prefix, int from, int to,
                                     const std::string& suffix = "");

// Applies the whole layout section in its fixed order (chrome, menu buttons, key page,
// button-function menu, then the settings pages).
LayoutReport ApplyLayoutSection(TForm1& form, const platform::rtl::TMemIniFile& ini,
                                const std::string& section);

} // namespace window::shell
