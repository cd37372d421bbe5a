#include "window/shell/LayoutText.h"

#include "platform/rtl/SysUtils.h"
#include "window/Main.h"

#include <algorithm>

namespace shell {

vcl::TMemIniFile LoadLayoutText(const std::string& name) {
    vcl::TStringList lines;
    {
        vcl::TResourceStream stream(name, "RC_DATA");
        lines.LoadFromStream(stream);
    }
    return vcl::TMemIniFile(lines);
}

int ReadLayoutInteger(const vcl::TMemIniFile& ini, const std::string& section,
                      const std::string& key) {
    return vcl::StrToInt(ini.ReadString(section, key, ""));
}

void TForm1::LoadOrgSettings() {
    const vcl::TMemIniFile ini = LoadLayoutText("org");
    const std::string section = "org";
    auto integer = [&](const char* key) { return ReadLayoutInteger(ini, section, key); };

    WebLinkEnabled = integer("Web_Enable") == 1;
    WebLink = ini.ReadString(section, "Web", "");
    const int x = integer("Web_X");
    const int y = integer("Web_Y");
    for (int i = 1; i <= 5; ++i) {
        auto& image = Named<vcl::TImage>("Img_Web_" + std::to_string(i));
        auto& label = Named<vcl::TControl>("Btn_Web_" + std::to_string(i));
        image.SetLeft(x);
        image.SetTop(y);
        label.SetLeft(x);
        label.SetTop(y);
        label.SetHeight(image.Height());
        label.SetWidth(image.Width());
    }
    ReserveManufacturerId = integer("Rev_Manu_ID");
    ReserveProductId = integer("Rev_Pro_ID");
    // The library file name is appended to the folder; a folder written without its
    // closing delimiter would otherwise glue the two names into one.
    MacroLibraryFolder = ini.ReadString(section, "Path", "");
    if (!MacroLibraryFolder.empty())
        MacroLibraryFolder = vcl::IncludeTrailingPathDelimiter(MacroLibraryFolder);
    TextRollingEnabled = integer("TR_Enable") == 1;
    GunDisplayEnabled = integer("GD_Enable") == 1;
    DpiLedStatus = integer("DPILED_Status") == 1;
    Gun6Number = std::clamp(integer("Gun6_Num"), 1, 2);
    Gun7Number = std::clamp(integer("Gun7_Num"), 1, 3);
    NumberOrder = std::clamp(integer("Num_Order"), 0, 1);
}

} // namespace shell
