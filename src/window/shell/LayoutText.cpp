#include "window/shell/LayoutText.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Component.h"
#include "window/Main.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace window::shell {

platform::rtl::TMemIniFile LoadLayoutText(const std::string& name) {
    return *SharedLayoutText(name);
}

std::shared_ptr<const platform::rtl::TMemIniFile> SharedLayoutText(const std::string& name) {
    struct Read {
        unsigned long long serial = 0;
        std::shared_ptr<const platform::rtl::TMemIniFile> text;
    };
    static std::mutex lock;
    static std::unordered_map<std::string, Read, platform::vcl::CaseBlindHash,
                              platform::vcl::CaseBlindEqual>
        texts;
    const platform::core::ResourceEntry& entry = platform::rtl::FindResourceEntry(name, "RC_DATA");
    {
        std::lock_guard guard(lock);
        const auto found = texts.find(name);
        if (found != texts.end() && found->second.serial == entry.serial) return found->second.text;
    }
    platform::rtl::TStringList lines;
    {
        platform::rtl::TResourceStream stream(name, "RC_DATA");
        lines.LoadFromStream(stream);
    }
    auto text = std::make_shared<const platform::rtl::TMemIniFile>(lines);
    std::lock_guard guard(lock);
    texts[name] = {entry.serial, text};
    return text;
}

int ReadLayoutInteger(const platform::rtl::TMemIniFile& ini, const std::string& section,
                      const std::string& key) {
    return platform::rtl::StrToInt(ini.ReadString(section, key, ""));
}

} // namespace window::shell

namespace window {

void TForm1::LoadOrgSettings() {
    const std::shared_ptr<const platform::rtl::TMemIniFile> text = shell::SharedLayoutText("org");
    const platform::rtl::TMemIniFile& ini = *text;
    const std::string section = "org";
    auto integer = [&](const char* key) { return shell::ReadLayoutInteger(ini, section, key); };

    WebLinkEnabled = integer("Web_Enable") == 1;
    WebLink = ini.ReadString(section, "Web", "");
    const int x = integer("Web_X");
    const int y = integer("Web_Y");
    for (int i = 1; i <= 5; ++i) {
        auto& image = Named<platform::vcl::TImage>("Img_Web_" + std::to_string(i));
        auto& label = Named<platform::vcl::TControl>("Btn_Web_" + std::to_string(i));
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
        MacroLibraryFolder = platform::rtl::IncludeTrailingPathDelimiter(MacroLibraryFolder);
    TextRollingEnabled = integer("TR_Enable") == 1;
    GunDisplayEnabled = integer("GD_Enable") == 1;
    DpiLedStatus = integer("DPILED_Status") == 1;
    Gun6Number = std::clamp(integer("Gun6_Num"), 1, 2);
    Gun7Number = std::clamp(integer("Gun7_Num"), 1, 3);
    NumberOrder = std::clamp(integer("Num_Order"), 0, 1);
}

} // namespace window
