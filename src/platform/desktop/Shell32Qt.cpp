// The desktop's handler for links and files, through the toolkit (xdg-open and the portal
// on Linux desktops).
#include "platform/desktop/Shell32.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform::desktop::detail {

bool DesktopOpen(const std::string& file) {
    // A plain path becomes a file link; anything with a scheme is taken as it stands.
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(file));
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace platform::desktop::detail
