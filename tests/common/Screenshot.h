#pragma once
#include <QString>

class QWidget;

namespace testing_support {

// Saves a picture of the widget as build/screenshots/<name>.png so a person can look at
// what the program shows. Returns the file's path, or an empty string on failure.
QString SaveScreenshot(QWidget* widget, const QString& name);

} // namespace testing_support
