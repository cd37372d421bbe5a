#pragma once
// Every picture of the skin under the resource name the window loads it by.
#include <QImage>
#include <QString>
#include <vector>

namespace skinart {

struct Picture {
    QString name;
    QImage image; // Format_ARGB32, as it is written to the PNG file
    // Only for window backgrounds (Alpha8): 255 where the window is solid. Elsewhere
    // the picture is the see-through key colour.
    QImage body;
};

std::vector<Picture> DrawSkin();

} // namespace skinart
