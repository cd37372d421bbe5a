// The message dialog and the file dialogs, answered from the event loop.
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GuiTestSupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

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

// A special file (the kernel's message log) blocks whoever reads it, and the dialog froze
// with it once its folder was typed into the name box: the dialog names and shows every
// file of a folder without opening any. Regular files stand in for it here, since each
// open shows up in the folder's inotify events; one has no extension and one has the
// profile extension, as both once led to a look at the content.
TEST(SickMouseFileDialog, ListsATypedFolderWithoutOpeningItsFiles) {
    QTemporaryDir start, dir;
    for (const char* name : {"kmsg", "profile.bin"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<6>kernel: text a content check would read\n");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("saved"));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_OPEN), 0);

    TSaveDialog save(nullptr);
    save.SetFilter("SaveFile(*.bin)|*.bin");
    save.SetInitialDir(start.path().toStdString());
    bool listed = false;
    std::string fileType, folderType;
    QImage fileIcon, folderIcon;
    gui_test::WhenModal([&](QWidget* modal) {
        auto* model = modal->findChild<QFileSystemModel*>();
        auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(model, nullptr);
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, dir.path() + "/");
        const QModelIndex root = model->index(dir.path());
        listed = gui_test::PumpUntil([&] { return model->rowCount(root) == 2; });
        for (int row = 0; row < model->rowCount(root); ++row) {
            const QModelIndex item = model->index(row, 0, root);
            const std::string type = model->index(row, 2, root).data().toString().toStdString();
            const QImage icon = model->fileIcon(item).pixmap(16).toImage();
            if (model->isDir(item)) {
                folderType = type;
                folderIcon = icon;
            } else {
                fileType = type;
                fileIcon = icon;
            }
        }
        static_cast<QFileDialog*>(modal)->reject();
    });
    EXPECT_FALSE(save.Execute());
    EXPECT_TRUE(listed) << "the dialog lists the folder and the profile";

    QStringList opened;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len > 0 && !(event->mask & IN_ISDIR)) opened << event->name;
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();

    const QMimeType bin = QMimeDatabase().mimeTypeForFile("x.bin", QMimeDatabase::MatchExtension);
    EXPECT_EQ(fileType, (bin.comment().isEmpty() ? bin.name() : bin.comment()).toStdString());
    EXPECT_EQ(folderType, "Folder");
    EXPECT_FALSE(fileIcon.isNull());
    EXPECT_FALSE(folderIcon.isNull());
    EXPECT_NE(fileIcon, folderIcon) << "a folder looks like one";
}

} // namespace
