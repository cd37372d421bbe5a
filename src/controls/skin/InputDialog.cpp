#include "controls/skin/InputDialog.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>

namespace controls::skin {

TSkinInputDialog::TSkinInputDialog(platform::vcl::TComponent* owner)
    : platform::vcl::TComponent(owner) {}

bool TSkinInputDialog::Execute(std::string& value) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromStdString(caption_));
    dialog.setLabelText(QString::fromStdString(prompt_));
    dialog.setTextEchoMode(passwordChar_.empty() ? QLineEdit::Normal : QLineEdit::Password);
    dialog.setTextValue(QString::fromStdString(value));
    dialog.setFont(font_.ToQFont());
    if (dialog.exec() != QDialog::Accepted) return false;
    value = dialog.textValue().toStdString();
    return true;
}

bool TSkinInputDialog::SetDesignProperty(const std::string& name,
                                         const platform::vcl::TDesignValue& value) {
    if (name == "Caption")
        SetCaption(value.AsString());
    else if (name == "Prompt")
        SetPrompt(value.AsString());
    else if (name == "PasswordChar")
        SetPasswordChar(value.AsString());
    else if (name.rfind("CaptionFont.", 0) == 0)
        return captionFont_.SetDesignProperty(name.substr(12), value);
    else if (name.rfind("Font.", 0) == 0)
        return font_.SetDesignProperty(name.substr(5), value);
    else
        return platform::vcl::TComponent::SetDesignProperty(name, value);
    return true;
}

} // namespace controls::skin
