// The message dialog and the file dialogs, answered from the event loop.
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GuiTestSupport.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

TEST(DialogTest, MessageDialogIsModalAndReturnsThePressedButton) {
    QString text;
    gui_test::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(MessageDlg("Restore the defaults?", mtConfirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(text, "Restore the defaults?");
}

TEST(DialogTest, CustomDialogCarriesTheApplicationTitleAndTheGivenFont) {
    Application()->SetTitle("Gaming Mouse");
    auto dialog = CreateMessageDialog("", mtCustom, mbOK);
    dialog->Font().SetName("DejaVu Sans");
    QString title, family;
    QMessageBox::Icon icon = QMessageBox::Critical;
    gui_test::WhenModal([&](QWidget* modal) {
        auto* box = static_cast<QMessageBox*>(modal);
        title = box->windowTitle();
        family = box->font().family();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(title, "Gaming Mouse");
    EXPECT_EQ(family, "DejaVu Sans");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
}

TEST(DialogTest, OpenDialogGivesTheChosenFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.bin");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    TOpenDialog open(nullptr);
    open.SetFilter("Config files (*.bin)|*.bin|All files|*.*");
    open.SetInitialDir(dir.path().toStdString());
    QStringList filters;
    QString directory;
    gui_test::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        directory = dialog->directory().absolutePath();
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), path.toStdString());
    EXPECT_EQ(filters, (QStringList{"Config files (*.bin) (*.bin)", "All files (*.*)"}));
    EXPECT_EQ(directory, QDir(dir.path()).absolutePath());

    gui_test::WhenModal([](QWidget* modal) { static_cast<QFileDialog*>(modal)->reject(); });
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName(), path.toStdString()) << "a cancelled choice keeps the name";
}

TEST(DialogTest, SaveDialogAddsTheDefaultExtension) {
    QTemporaryDir dir;
    TSaveDialog save(nullptr);
    save.SetFilter("Config files|*.bin");
    save.SetDefaultExt("bin");
    save.SetInitialDir(dir.path().toStdString());
    gui_test::WhenModal([&](QWidget* modal) {
        auto* dialog = static_cast<QFileDialog*>(modal);
        dialog->selectFile(dir.filePath("mine"));
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), dir.filePath("mine.bin").toStdString());
}

} // namespace
