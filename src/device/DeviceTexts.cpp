#include "device/DeviceTexts.h"

#include "shell/LanguageTables.h"
#include "shell/Main.h"

namespace device {

std::string DeviceText(std::string_view key) {
    // Before the main window exists the program shows its start language.
    const int language = shell::Form1 ? shell::Form1->LanguageNumber : 1;
    return shell::LanguageText(language, key);
}

} // namespace device
