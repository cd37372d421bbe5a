#include "platform/vcl/Dialogs.h"

#include "platform/vcl/Forms.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>

namespace platform::vcl {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

const std::pair<TMsgDlgBtn, QMessageBox::StandardButton> kButtons[] = {
    {mbYes, QMessageBox::Yes},       {mbNo, QMessageBox::No},       {mbOK, QMessageBox::Ok},
    {mbCancel, QMessageBox::Cancel}, {mbAbort, QMessageBox::Abort}, {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore}};

TModalResult ResultOf(int standardButton) {
    switch (standardButton) {
    case QMessageBox::Ok:
        return mrOk;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Abort:
        return mrAbort;
    case QMessageBox::Retry:
        return mrRetry;
    case QMessageBox::Ignore:
        return mrIgnore;
    default:
        return mrCancel;
    }
}

std::function<void()>& BeforeMessageDialog() {
    static std::function<void()> hook;
    return hook;
}

// "desc|mask|desc|mask" to Qt's "desc (mask mask)" filters.
QStringList NameFilters(const std::string& filter) {
    QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + masks + QLatin1Char(')');
    }
    return out;
}

// Names a file's type and picks its icon from its name and kind alone. Qt's own provider
// reads a file whose extension does not settle its type, and a read of a special file
// such as /proc/kmsg never returns: the dialog froze with it. Texts are Qt's own, so
// they are translated as Qt's are.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot()) return icon(Drive);
        if (info.isDir()) return icon(Folder);
        if (!info.isFile()) return icon(File);
        const QMimeType mime = ByName(info);
        return QIcon::fromTheme(mime.iconName(),
                                QIcon::fromTheme(mime.genericIconName(), icon(File)));
    }

    QString type(const QFileInfo& info) const override {
        if (info.isRoot()) return QApplication::translate("QAbstractFileIconProvider", "Drive");
        if (info.isFile()) {
            const QMimeType mime = ByName(info);
            return mime.comment().isEmpty() ? mime.name() : mime.comment();
        }
        if (info.isDir())
            return QApplication::translate("QAbstractFileIconProvider", "Folder",
                                           "All other platforms");
        if (info.isSymLink())
            return QApplication::translate("QAbstractFileIconProvider", "Shortcut",
                                           "All other platforms");
        return QApplication::translate("QAbstractFileIconProvider", "Unknown");
    }

private:
    QMimeType ByName(const QFileInfo& info) const {
        return mimes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }

    QMimeDatabase mimes_;
};
} // namespace

TMessageDialog::TMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
    : box_(std::make_unique<QMessageBox>(QApplication::activeWindow())) {
    static const char* const captions[] = {"Warning", "Error", "Information", "Confirm"};
    static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                              QMessageBox::Information, QMessageBox::Question};
    box_->setText(Q(message));
    box_->setTextFormat(Qt::PlainText);
    if (type == mtCustom) {
        box_->setWindowTitle(Q(Application()->Title()));
        box_->setIcon(QMessageBox::NoIcon);
    } else {
        box_->setWindowTitle(QString::fromLatin1(captions[type]));
        box_->setIcon(icons[type]);
    }
    QMessageBox::StandardButtons standard;
    for (const auto& [bit, button] : kButtons)
        if (buttons & bit) standard |= button;
    box_->setStandardButtons(standard ? standard : QMessageBox::StandardButtons(QMessageBox::Ok));
    font_.OnChange = [this] { box_->setFont(font_.ToQFont()); };
}

TMessageDialog::~TMessageDialog() = default;

std::string TMessageDialog::Caption() const {
    return box_->windowTitle().toStdString();
}
void TMessageDialog::SetCaption(const std::string& caption) {
    box_->setWindowTitle(Q(caption));
}
QWidget* TMessageDialog::Widget() const {
    return box_.get();
}

TModalResult TMessageDialog::ShowModal() {
    if (const std::function<void()>& before = BeforeMessageDialog()) before();
    box_->exec();
    QAbstractButton* clicked = box_->clickedButton();
    return clicked ? ResultOf(box_->standardButton(clicked)) : mrCancel;
}

std::unique_ptr<TMessageDialog> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                                    TMsgDlgButtons buttons) {
    return std::make_unique<TMessageDialog>(message, type, buttons);
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    return CreateMessageDialog(message, type, buttons)->ShowModal();
}

void ShowMessage(const std::string& message) {
    MessageDlg(message, mtCustom, mbOK);
}

void SetBeforeMessageDialog(std::function<void()> hook) {
    BeforeMessageDialog() = std::move(hook);
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute() {
    // Outlives the dialog, which does not own it; installed as soon as the dialog has its
    // file list (by then it knows only the folders of the start directory), before any
    // file is named.
    NameOnlyIconProvider byName;
    QFileDialog dialog(QApplication::activeWindow(), Q(title_), Q(initialDir_));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&byName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(ForSaving() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(ForSaving() ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(filter_);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (filterIndex_ >= 1 && filterIndex_ <= filters.size())
            dialog.selectNameFilter(filters[filterIndex_ - 1]);
    }
    if (!defaultExt_.empty()) dialog.setDefaultSuffix(Q(defaultExt_));
    if (!fileName_.empty()) dialog.selectFile(Q(fileName_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    fileName_ = dialog.selectedFiles().first().toStdString();
    const int chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0) filterIndex_ = chosen + 1;
    return true;
}

bool TOpenDialog::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Filter")
        SetFilter(value.AsString());
    else if (name == "FilterIndex")
        SetFilterIndex(value.AsInt());
    else if (name == "FileName")
        SetFileName(value.AsString());
    else if (name == "InitialDir")
        SetInitialDir(value.AsString());
    else if (name == "DefaultExt")
        SetDefaultExt(value.AsString());
    else if (name == "Title")
        SetTitle(value.AsString());
    else
        return TComponent::SetDesignProperty(name, value);
    return true;
}

} // namespace platform::vcl
