#include "platform/vcl/Forms.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <future>
#include <map>
#include <system_error>
#include <utility>

namespace platform::vcl {

namespace {
const std::pair<const char*, TFormBorderStyle> kBorderStyles[] = {
    {"bsNone", bsNone},     {"bsSingle", bsSingle},         {"bsSizeable", bsSizeable},
    {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow}, {"bsSizeToolWin", bsSizeToolWin}};
const std::pair<const char*, TPosition> kPositions[] = {{"poDesigned", poDesigned},
                                                        {"poDefault", poDefault},
                                                        {"poDefaultPosOnly", poDefaultPosOnly},
                                                        {"poDefaultSizeOnly", poDefaultSizeOnly},
                                                        {"poScreenCenter", poScreenCenter},
                                                        {"poDesktopCenter", poDesktopCenter},
                                                        {"poMainFormCenter", poMainFormCenter},
                                                        {"poOwnerFormCenter", poOwnerFormCenter}};
const std::pair<const char*, TFormStyle> kFormStyles[] = {{"fsNormal", fsNormal},
                                                          {"fsStayOnTop", fsStayOnTop}};
const std::pair<const char*, TWindowState> kWindowStates[] = {
    {"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}};

uint64_t g_windowOrderChanges = 0;
} // namespace

// The colour test compares whole 32-bit pixels with the opaque key, which a
// premultiplied ARGB32 pixel holds exactly as ARGB32 does.
constexpr QImage::Format kCanvasFormat = QImage::Format_ARGB32_Premultiplied;

// The shapes worked out for the looks the form's stepping controls have shown, keyed by
// the look of each of them.
struct TForm::TShapeCache {
    using Key = std::vector<std::pair<const void*, int64_t>>;
    // A form with several animations could see every combination of their frames;
    // beyond this many, shapes are worked out afresh.
    static constexpr size_t kLimit = 256;

    std::map<const void*, int64_t> states;
    std::map<Key, QRegion> shapes;
    // What the window showed when its shape was last worked out, kept so each new shape
    // draws over pages already in memory instead of a fresh canvas the window's size.
    QImage canvas;
    // The first canvas, its memory taken from the system on another thread while the
    // window first shows: a window-sized picture is hundreds of fresh pages.
    std::future<QImage> canvasAhead;

    void PrepareCanvas(QSize size) {
        if (size.isEmpty() || canvas.size() == size || canvasAhead.valid()) return;
        try {
            canvasAhead = std::async(std::launch::async, [size] {
                QImage image(size, kCanvasFormat);
                image.fill(Qt::transparent);
                return image;
            });
        } catch (const std::system_error&) {
            // No thread to spare: the first shape makes its canvas itself.
        }
    }
    QImage& Canvas(QSize size) {
        if (canvasAhead.valid()) canvas = canvasAhead.get();
        if (canvas.size() != size) canvas = QImage(size, kCanvasFormat);
        return canvas;
    }

    Key CurrentKey() const { return Key(states.begin(), states.end()); }
    void Forget() {
        states.clear();
        shapes.clear();
    }
};

TForm::TForm(TComponent* owner)
    : TWinControl(owner, new QWidget(nullptr, Qt::Window)),
      shapeCache_(std::make_unique<TShapeCache>()) {
    SetVisible(false);
    FontChanged();
    ColorChanged();
    ApplyWindowFlags();
}

TForm::~TForm() {
    BeginDestroy();
    DestroyComponents();
    if (Application()->MainForm() == this) Application()->SetMainForm(nullptr);
}

std::string TForm::Caption() const {
    return Widget()->windowTitle().toStdString();
}

void TForm::SetCaption(const std::string& caption) {
    Widget()->setWindowTitle(QString::fromStdString(caption));
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    ApplyWindowFlags();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle style) {
    formStyle_ = style;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
    QWidget* w = Widget();
    Qt::WindowFlags flags = Qt::Window;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderIcons_ & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
        if (borderIcons_ & biMaximize) flags |= Qt::WindowMaximizeButtonHint;
        if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) flags |= Qt::Tool;
        if (borderStyle_ == bsDialog) flags |= Qt::Dialog;
    }
    if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (flags == w->windowFlags()) return;
    // Changing the flags hides a shown window.
    const bool shown = w->isVisible();
    w->setWindowFlags(flags);
    if (shown) {
        w->show();
        NoteWindowOrderChange();
    }
}

void TForm::SetTransparentColor(bool on) {
    transparentColor_ = on;
    if (on)
        InvalidateShape();
    else
        Widget()->clearMask();
}

void TForm::SetTransparentColorValue(TColor color) {
    transparentColorValue_ = color;
    InvalidateShape();
}

void TForm::InvalidateShape() {
    // The saved shapes assumed everything but the reported looks stayed as it was.
    shapeCache_->Forget();
    ScheduleShapeUpdate();
}

void TForm::ShapeStateChanged(const void* source, int64_t state) {
    shapeCache_->states[source] = state;
    ScheduleShapeUpdate();
}

void TForm::ScheduleShapeUpdate() {
    if (!transparentColor_ || shapePending_ || IsDestroying()) return;
    shapePending_ = true;
    QTimer::singleShot(0, Widget(), [this] { ApplyShape(); });
}

void TForm::ApplyShape() {
    if (transparentColor_ && !shapeCache_->states.empty()) {
        const auto saved = shapeCache_->shapes.find(shapeCache_->CurrentKey());
        if (saved != shapeCache_->shapes.end()) {
            shapePending_ = false;
            Widget()->setMask(saved->second);
            return;
        }
    }
    UpdateShape();
}

void TForm::UpdateShape() {
    shapePending_ = false;
    QWidget* w = Widget();
    if (!transparentColor_) {
        w->clearMask();
        return;
    }
    if (w->width() <= 0 || w->height() <= 0) return;
    // Render without the current mask so that areas hidden by it can come back.
    QImage& canvas = shapeCache_->Canvas(w->size());
    // Rendered as the window's root, the window first fills all of itself with its
    // background brush; an opaque brush leaves nothing of what the canvas held before.
    // Without that fill the canvas starts out clear.
    const bool fillsItself = !w->testAttribute(Qt::WA_OpaquePaintEvent) &&
                             !w->testAttribute(Qt::WA_NoSystemBackground) &&
                             w->palette().brush(QPalette::Window).isOpaque();
    if (!fillsItself) canvas.fill(Qt::transparent);
    w->render(&canvas, QPoint(), QRegion(),
              QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    const QRegion shape = RegionOutsideColor(canvas, ToQColor(transparentColorValue_).rgb());
    if (!shapeCache_->states.empty()) {
        if (shapeCache_->shapes.size() >= TShapeCache::kLimit) shapeCache_->shapes.clear();
        shapeCache_->shapes[shapeCache_->CurrentKey()] = shape;
    }
    w->setMask(shape);
}

void TForm::SetAlphaBlend(bool on) {
    alphaBlend_ = on;
    Widget()->setWindowOpacity(on ? alphaBlendValue_ / 255.0 : 1.0);
}

void TForm::SetAlphaBlendValue(int value) {
    alphaBlendValue_ = std::clamp(value, 0, 255);
    SetAlphaBlend(alphaBlend_);
}

TWindowState TForm::WindowState() const {
    const QWidget* w = Widget();
    if (!w->isVisible()) return pendingState_;
    if (w->isMinimized()) return wsMinimized;
    if (w->isMaximized()) return wsMaximized;
    return wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
    pendingState_ = state;
    QWidget* w = Widget();
    if (!w->isVisible()) return;
    NoteWindowOrderChange();
    if (state == wsMinimized)
        w->showMinimized();
    else if (state == wsMaximized)
        w->showMaximized();
    else
        w->showNormal();
}

void TForm::ApplyPosition() {
    QWidget* w = Widget();
    QRect area;
    if (position_ == poScreenCenter || position_ == poDesktopCenter) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->geometry();
    } else if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
        TForm* main = Application()->MainForm();
        if (main && main != this) area = main->Widget()->geometry();
    }
    if (area.isNull()) return;
    // Integer halves as the library has always computed them: off-screen when too big.
    w->move(area.x() + (area.width() - w->width()) / 2,
            area.y() + (area.height() - w->height()) / 2);
}

void TForm::SetVisible(bool visible) {
    // Showing a window that shows already changes nothing: its shape stands, and OnShow
    // is for a window coming into view.
    if (visible && Visible() && Widget()->isVisible()) return;
    TControl::SetVisible(visible);
    QWidget* w = Widget();
    if (!visible) {
        w->hide();
        return;
    }
    NoteWindowOrderChange();
    const bool firstShow = !shownOnce_;
    if (firstShow) {
        shownOnce_ = true;
        ApplyPosition();
        // The shape is worked out once the window shows.
        if (transparentColor_) shapeCache_->PrepareCanvas(w->size());
    }
    if (pendingState_ == wsMinimized)
        w->showMinimized();
    else if (pendingState_ == wsMaximized)
        w->showMaximized();
    else
        w->show();
    // The first show settles the style and fonts the window is drawn with: shapes worked
    // out before it may differ.
    if (firstShow)
        InvalidateShape();
    else
        ScheduleShapeUpdate();
    if (OnShow) OnShow(this);
}

void TForm::RaiseOnScreen() {
    if (QWindow* window = Widget()->windowHandle())
        window->raise();
    else
        BringToFront();
}

uint64_t TForm::WindowOrderChanges() {
    return g_windowOrderChanges;
}

void TForm::NoteWindowOrderChange() {
    ++g_windowOrderChanges;
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (action == caMinimize) {
        SetWindowState(wsMinimized);
        return;
    }
    Hide();
    if (Application()->MainForm() == this) Application()->Terminate();
}

bool TForm::DoCreate() {
    if (!OnCreate) return true;
    try {
        OnCreate(this);
        return true;
    } catch (...) {
        Application()->HandleException(std::current_exception());
        return false;
    }
}

void TForm::ColorChanged() {
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Window, ToQColor(Color()));
    Widget()->setPalette(pal);
}

bool TForm::HandleEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        // The system's close command takes the same road as Close().
        event->ignore();
        GuardedCall([this] { Close(); });
        return true;
    case QEvent::Resize:
        InvalidateShape();
        break;
    case QEvent::Show:
        // Showing again changes nothing of the look: the saved shapes still hold.
        ScheduleShapeUpdate();
        break;
    default:
        break;
    }
    return TWinControl::HandleEvent(event);
}

bool TForm::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "BorderStyle")
        SetBorderStyle(DesignEnum(value, kBorderStyles));
    else if (name == "BorderIcons") {
        TBorderIcons icons = 0;
        for (const std::string& s : value.AsSet()) {
            if (rtl::SameText(s, "biSystemMenu"))
                icons |= biSystemMenu;
            else if (rtl::SameText(s, "biMinimize"))
                icons |= biMinimize;
            else if (rtl::SameText(s, "biMaximize"))
                icons |= biMaximize;
            else
                throw rtl::Exception("unknown border icon " + s);
        }
        SetBorderIcons(icons);
    } else if (name == "Position")
        SetPosition(DesignEnum(value, kPositions));
    else if (name == "FormStyle")
        SetFormStyle(DesignEnum(value, kFormStyles));
    else if (name == "WindowState")
        SetWindowState(DesignEnum(value, kWindowStates));
    else if (name == "TransparentColor")
        SetTransparentColor(value.AsBool());
    else if (name == "TransparentColorValue")
        SetTransparentColorValue(DesignColor(value));
    else if (name == "AlphaBlend")
        SetAlphaBlend(value.AsBool());
    else if (name == "AlphaBlendValue")
        SetAlphaBlendValue(value.AsInt());
    else if (name == "KeyPreview")
        SetKeyPreview(value.AsBool());
    else
        return TWinControl::SetDesignProperty(name, value);
    return true;
}

bool TForm::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnCreate") return BindDesignHandler(handler, OnCreate);
    if (name == "OnCloseQuery") return BindDesignHandler(handler, OnCloseQuery);
    if (name == "OnClose") return BindDesignHandler(handler, OnClose);
    if (name == "OnShow") return BindDesignHandler(handler, OnShow);
    return TWinControl::SetDesignEvent(name, handler);
}

QRegion RegionOutsideColor(const QImage& image, QRgb key) {
    if (image.isNull()) return {};
    if (image.depth() != 32)
        return RegionOutsideColor(image.convertToFormat(QImage::Format_ARGB32), key);
    // Each run joins the region as it is found, row after row, left to right: QRegion
    // then only appends, merges a run into the rectangle above it, or else unites.
    QRegion region;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width;) {
            while (x < width && row[x] == key)
                ++x;
            const int first = x;
            while (x < width && row[x] != key)
                ++x;
            if (x > first) region += QRect(first, y, x - first, 1);
        }
    }
    return region;
}

TApplication::TApplication() : TComponent(nullptr) {
    SetName("Application");
}

void TApplication::ProcessMessages(bool excludeUserInput) {
    QCoreApplication::processEvents(excludeUserInput ? QEventLoop::ExcludeUserInputEvents
                                                     : QEventLoop::AllEvents);
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) GuardedCall([this] { OnHint(this); });
}

bool TApplication::DispatchAppMessage(TMsg& msg) {
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    return handled;
}

void TApplication::PostAppMessage(const TMsg& msg) {
    QMetaObject::invokeMethod(
        qApp,
        [this, msg] {
            TMsg copy = msg;
            GuardedCall([&] { DispatchAppMessage(copy); });
        },
        Qt::QueuedConnection);
}

void TApplication::HandleException(std::exception_ptr e) {
    std::string message;
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        message = ex.what();
    } catch (...) {
        message = "Unknown exception";
    }
    ShowException(message);
}

void TApplication::ShowException(const std::string& message) {
    if (!qApp) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return;
    }
    // The standard dialog, so that the exception box is shown as every message is.
    TMessageDialog box(message, mtError, mbOK);
    box.SetCaption(title_);
    box.ShowModal();
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
    if (!mainForm_) mainForm_ = form.get();
    forms_.push_back(std::move(form));
}

void TApplication::DestroyForms() {
    while (!forms_.empty())
        forms_.pop_back();
}

int TApplication::Run() {
    if (terminated_) return 0;
    QApplication::setQuitOnLastWindowClosed(false);
    return QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::quit();
}

TApplication* Application() {
    static TApplication application;
    return &application;
}

int TScreen::Width() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TScreen* Screen() {
    static TScreen screen;
    return &screen;
}

} // namespace platform::vcl
