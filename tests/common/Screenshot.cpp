#include "common/Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace testing_support {

QString SaveScreenshot(QWidget* widget, const QString& name) {
    if (!widget) return {};
    QDir dir(QStringLiteral(VTRM_SCREENSHOT_DIR));
    if (!dir.mkpath(QStringLiteral("."))) return {};
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    return widget->grab().save(path, "PNG") ? path : QString();
}

} // namespace testing_support
