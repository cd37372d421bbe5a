#pragma once
// The standard message dialog and the file dialogs.
#include "platform/vcl/Graphics.h"

#include <functional>
#include <memory>
#include <string>

class QMessageBox;
class QWidget;

namespace platform::vcl {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAbort = 16,
    mbRetry = 32,
    mbIgnore = 64
};
using TMsgDlgButtons = unsigned;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

// The standard message dialog: the text, an icon by type (none for mtCustom) and the
// buttons. Its caption is the type's name, or the application title for mtCustom.
class TMessageDialog {
public:
    TMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
    ~TMessageDialog();
    TFont& Font() { return font_; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // Shows the dialog modally; the result of the button pressed (mrCancel when closed
    // without one).
    TModalResult ShowModal();
    QWidget* Widget() const;

private:
    std::unique_ptr<QMessageBox> box_;
    TFont font_;
};

std::unique_ptr<TMessageDialog> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                                    TMsgDlgButtons buttons);
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext = 0);
// A dialog with OK, titled with the application title.
void ShowMessage(const std::string& message);

// Runs each time a message dialog is about to show, the application's exception box
// included: a window of the program that stays above all others steps aside there, so
// that it never covers a message. An empty hook removes it.
void SetBeforeMessageDialog(std::function<void()> hook);

// File choice. Filter pairs descriptions with masks: "Bin files (*.bin)|*.bin|All|*.*".
// Qt's own dialog is used, not the desktop's, so the dialog behaves the same everywhere.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // 1-based, as the library counts filters.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
    // Without the dot; added to a typed name that has no extension.
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Shows the dialog modally; true with FileName set when the user chose a file.
    bool Execute();

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

protected:
    virtual bool ForSaving() const { return false; }

private:
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::string initialDir_;
    std::string defaultExt_;
    std::string title_;
};

// The save dialog returns an existing file without asking about it: the caller, which may
// still change the name, asks about the file it writes.
class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool ForSaving() const override { return true; }
};

} // namespace platform::vcl
