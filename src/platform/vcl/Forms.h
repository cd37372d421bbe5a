#pragma once
// Forms (top-level windows), the application object and the screen.
#include "platform/vcl/Controls.h"

#include <QRegion>
#include <QRgb>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::vcl {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caMinimize };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = unsigned;

using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // The window title.
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    // Applied when the form is first shown.
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }

    // Colour key: every pixel of the window in TransparentColorValue is see-through and
    // lets the mouse through, so the window takes the shape of what it shows.
    bool TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(bool on);
    TColor TransparentColorValue() const { return transparentColorValue_; }
    void SetTransparentColorValue(TColor color);
    // Recomputes the window shape once pending events have run; controls call it when a
    // change of theirs may change what the window shows.
    void InvalidateShape();
    // Recomputes the window shape now.
    void UpdateShape();
    // A control that steps through a fixed set of looks (an animation's frames) reports
    // the look it now shows here instead of through InvalidateShape: the shape of each
    // combination of looks is worked out once and reused until InvalidateShape says
    // something else about the window's look changed.
    void ShapeStateChanged(const void* source, int64_t state);

    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool on);
    int AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(int value);
    // With key preview on, the form's OnKeyPress sees every typed key first.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);

    void SetVisible(bool visible) override;
    void Close();

    // Asks the window system to put the window in front of the others, as BringToFront
    // does, but without the notice Qt then sends the window's widget about its new place:
    // for a window that keeps its place among the program's windows.
    void RaiseOnScreen();
    // How often the program has changed the order of its windows here: a window shown,
    // brought to the front or sent to the back. Who keeps a window in front can tell
    // from it whether one of the program's windows may have come over it.
    static uint64_t WindowOrderChanges();
    // Runs OnCreate; an exception escaping it goes to the exception box. False then.
    bool DoCreate();

    TNotifyEvent OnCreate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnShow;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

protected:
    bool CanShowWidget() const override { return false; }
    void ColorChanged() override;
    bool HandleEvent(QEvent* event) override;

private:
    friend class TControl;
    static void NoteWindowOrderChange();

    struct TShapeCache;
    void ApplyWindowFlags();
    void ApplyPosition();
    void ScheduleShapeUpdate();
    void ApplyShape();

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    bool transparentColor_ = false;
    TColor transparentColorValue_ = clBlack;
    bool alphaBlend_ = false;
    int alphaBlendValue_ = 255;
    bool keyPreview_ = false;
    bool shownOnce_ = false;
    bool shapePending_ = false;
    std::unique_ptr<TShapeCache> shapeCache_;
    TWindowState pendingState_ = wsNormal;
};

// The pixels of the image not in the key colour, as the region a window mask takes, with
// the same rectangles as a region built from a one-bit mask of the image. A 32-bit image
// is compared whole pixel by whole pixel; any other is compared as ARGB32.
QRegion RegionOutsideColor(const QImage& image, QRgb key);

// A window message for the application's message hook.
struct TMsg {
    void* hwnd = nullptr;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;

class TApplication : public TComponent {
public:
    TApplication();

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Handles every waiting event and returns. Re-entrant: handlers may call it again.
    // A busy loop that must not start a second user action passes excludeUserInput.
    void ProcessMessages(bool excludeUserInput = false);

    // The long hint of the control under the mouse; a change runs OnHint.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    TNotifyEvent OnHint;

    // The message hook: DispatchAppMessage runs OnMessage at once (GUI thread) and says
    // whether it handled the message; PostAppMessage queues it for the GUI thread, from
    // any thread.
    TMessageEvent OnMessage;
    bool DispatchAppMessage(TMsg& msg);
    void PostAppMessage(const TMsg& msg);

    // The exception box: a modal box titled with Title showing the exception's message.
    void HandleException(std::exception_ptr e);
    void ShowException(const std::string& message);

    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }
    // Creates a form the application owns (the first becomes the main form) and runs its
    // OnCreate. An exception from either step shows the exception box and returns false.
    template <class T> bool CreateForm(T*& ref) {
        try {
            auto form = std::make_unique<T>(nullptr);
            ref = form.get();
            AdoptForm(std::move(form));
        } catch (...) {
            HandleException(std::current_exception());
            return false;
        }
        return ref->DoCreate();
    }
    // Deletes the forms CreateForm made, newest first; call before QApplication ends.
    void DestroyForms();

    // Runs the event loop until Terminate (the main form closing terminates).
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

private:
    void AdoptForm(std::unique_ptr<TForm> form);

    std::string title_;
    std::string hint_;
    TForm* mainForm_ = nullptr;
    std::vector<std::unique_ptr<TForm>> forms_;
    bool terminated_ = false;
};

TApplication* Application();

class TScreen : public TComponent {
public:
    TScreen() : TComponent(nullptr) {}
    // The primary screen's size in pixels.
    int Width() const;
    int Height() const;
};

TScreen* Screen();

} // namespace platform::vcl
