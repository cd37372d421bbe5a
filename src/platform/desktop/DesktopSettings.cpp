// The desktop's pointer settings behind the registry values: the toolkit's style hints
// for the double-click interval and the wheel lines, and the X server's pointer control
// for the acceleration where the program runs on an X display.
#include "platform/desktop/Registry.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QtGui/qguiapplication_platform.h>

#ifdef VTRM_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform::desktop::detail {

namespace {

bool Same(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

struct PointerControl {
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
};

std::optional<PointerControl> XPointerControl() {
#ifdef VTRM_HAVE_XCB
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    // Under other platforms the interface can exist without a connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return std::nullopt;
    xcb_get_pointer_control_reply_t* reply =
        xcb_get_pointer_control_reply(connection, xcb_get_pointer_control(connection), nullptr);
    if (!reply) return std::nullopt;
    PointerControl control{reply->acceleration_numerator, reply->acceleration_denominator,
                           reply->threshold};
    std::free(reply);
    if (control.denominator <= 0) return std::nullopt;
    return control;
#else
    return std::nullopt;
#endif
}

// The X acceleration in the Windows terms: speed 0 (none), 1 (doubling past threshold 1)
// or 2 (also quadrupling past threshold 2).
std::optional<std::string> MouseValue(std::string_view name) {
    const std::optional<PointerControl> x = XPointerControl();
    if (!x) return std::nullopt;
    const double factor = static_cast<double>(x->numerator) / x->denominator;
    const int speed = factor <= 1.0 ? 0 : factor < 4.0 ? 1 : 2;
    if (Same(name, "MouseSpeed")) return std::to_string(speed);
    if (Same(name, "MouseThreshold1")) return std::to_string(speed > 0 ? x->threshold : 0);
    if (Same(name, "MouseThreshold2")) return std::to_string(speed > 1 ? 2 * x->threshold : 0);
    return std::nullopt;
}

} // namespace

std::optional<std::string> DesktopValue(std::string_view key, std::string_view name) {
    const bool haveGui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (Same(key, "Control Panel\\Mouse")) {
        if (Same(name, "DoubleClickSpeed") && haveGui)
            return std::to_string(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        if (haveGui) return MouseValue(name);
        return std::nullopt;
    }
    if (Same(key, "Control Panel\\Desktop") && Same(name, "WheelScrollLines") && haveGui)
        return std::to_string(QGuiApplication::styleHints()->wheelScrollLines());
    return std::nullopt;
}

} // namespace platform::desktop::detail
