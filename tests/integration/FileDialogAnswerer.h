#pragma once
// Answers the program's file dialogs in the tests against the simulated mouse.
#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace devtest {

// Answers the file dialogs: selects `answer` and accepts, or cancels when it is empty.
// `before` runs while the dialog is open, `after` right after it was accepted (the
// program has not looked at the file yet).
class FileDialogAnswerer {
public:
    FileDialogAnswerer() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || inside_) return;
            inside_ = true;
            ++opened;
            filters.push_back(dialog->nameFilters().join("|").toStdString());
            if (before) before();
            if (answer.empty()) {
                dialog->reject();
            } else {
                dialog->selectFile(QString::fromStdString(answer));
                static_cast<QDialog*>(dialog)->accept(); // runs the file dialog's own accept
            }
            if (after) after();
            inside_ = false;
        });
        poll_.start(1);
    }
    std::string answer;
    std::function<void()> before;
    std::function<void()> after;
    int opened = 0;
    std::vector<std::string> filters;

private:
    QTimer poll_;
    bool inside_ = false;
};

} // namespace devtest
