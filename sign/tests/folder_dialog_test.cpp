// The sign folder dialog, driven through its real modal loop: its layout,
// OK, キャンセル and the window system's close, a missing folder offered
// again, other failures, and the browse button's text.
#include "app/form1.h"
#include "doors/frmset.h"
#include "sign/frmbrowsedir.h"
#include "tests/support/modal.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

using testing_support::whenModal;

namespace
{

void writeBmp(const QString& path, int width)
{
    QImage img(width, 4, QImage::Format_RGB32);
    img.fill(0x336699);
    ASSERT_TRUE(img.save(path, "BMP"));
}

QStringList entries(const Form1& bus)
{
    QStringList out;
    for (std::int16_t i = 0; i < bus.File1.listCount(); ++i)
        out << *bus.File1.list(i);
    return out;
}

// A bus whose sign shows b.bmp (9 px wide) of the folder "old", at position 1.
struct SignFixture {
    QTemporaryDir tmp;
    QString oldDir, newDir;
    Form1 bus;
    SignFixture()
    {
        oldDir = tmp.path() + "/old";
        newDir = tmp.path() + "/new";
        QDir().mkpath(oldDir);
        QDir().mkpath(newDir);
        for (const auto& [name, width] : {std::pair{"/a.bmp", 8}, {"/b.bmp", 9}, {"/c.bmp", 10}})
            writeBmp(oldDir + name, width);
        for (const auto& [name, width] : {std::pair{"/x.bmp", 20}, {"/y.bmp", 21}})
            writeBmp(newDir + name, width);
        bus.signFolderPath = oldDir;
        EXPECT_TRUE(bus.picDir());
        bus.Picture1_KeyDown(sign::vkDown, 0);
        EXPECT_EQ(bus.signFolderPath, oldDir + "/");
    }
    int signWidth() const { return bus.ImgDesiMaku->picture().size.width(); }
    // Opens the dialog from the panel's folder button; f acts inside it and must close it.
    void openDialog(std::function<void(frmBrowseDir*)> f)
    {
        bool ran = false;
        whenModal<frmBrowseDir>([&](frmBrowseDir* d) {
            ran = true;
            f(d);
        });
        bus.panel().Command1->click();
        EXPECT_TRUE(ran);
    }
    int openDialogs() const
    {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<frmBrowseDir*>(w) && w->isVisible();
        return n;
    }
};

// Presses OK while expecting one message box; returns its text.
QString okWithMessage(frmBrowseDir* d)
{
    QString text;
    whenModal<QMessageBox>([&](QMessageBox* m) {
        text = m->text();
        EXPECT_EQ(m->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(m->icon(), QMessageBox::NoIcon);
        m->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(d->Command2[0], Qt::LeftButton);
    return text;
}

} // namespace

// Enter and Escape press nothing; キャンセル changes nothing; OK stores the text as typed and applies it to
// the list, leaving the sign's picture and position alone.
TEST(FolderDialog, OkAppliesCancelChangesNothing)
{
    SignFixture s;
    const QStringList oldEntries = entries(s.bus);

    // The window manager's close is driven on the real display (sign_folder.sh).
    s.openDialog([&](frmBrowseDir* d) {
        EXPECT_EQ(d->Text1->text(), s.oldDir + "/") << "opens with the path, separator included";
        EXPECT_EQ(d->focusWidget(), d->Text1);
        for (QPushButton* b : d->findChildren<QPushButton*>())
            EXPECT_FALSE(b->isDefault() || b->autoDefault()) << b->text().toStdString();
        d->Text1->selectAll();
        QTest::keyClicks(d->Text1, s.newDir);
        for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(d->Text1, k);
        EXPECT_TRUE(d->isVisible()) << "Enter or Escape closed the dialog";
        QTest::mouseClick(d->Command2[1], Qt::LeftButton);
    });
    EXPECT_EQ(s.openDialogs(), 0);
    EXPECT_EQ(s.bus.signFolderPath, s.oldDir + "/");
    EXPECT_EQ(entries(s.bus), oldEntries);

    QPointer<frmBrowseDir> seen;
    s.openDialog([&](frmBrowseDir* d) {
        seen = d;
        EXPECT_EQ(d->Text1->text(), s.oldDir + "/") << "nothing of the last opening survives";
        d->Text1->setText(s.newDir);
        QTest::mouseClick(d->Command2[0], Qt::LeftButton);
    });
    EXPECT_TRUE(seen.isNull()) << "the dialog outlived its opening";
    EXPECT_EQ(s.bus.signFolderPath, s.newDir) << "stored as typed, no separator added";
    EXPECT_EQ(entries(s.bus), (QStringList{"x.bmp", "y.bmp"}));
    EXPECT_EQ(s.signWidth(), 9) << "the sign keeps the old folder's picture";
    EXPECT_EQ(s.bus.signStepper.position(), 1);
    // Stepping goes on from the old position within the new list.
    s.bus.Picture1_KeyDown(sign::vkUp, 0);
    EXPECT_EQ(s.signWidth(), 20);
}

// A missing folder (or a path that a file stands in): the message, then the
// same dialog stays open with the rejected text. Any other failure: the
// system's words, and it closes. The list keeps its entries and the sign its
// picture either way.
TEST(FolderDialog, MissingFolderIsOfferedAgainOtherFailuresClose)
{
    SignFixture s;
    const QStringList oldEntries = entries(s.bus);
    for (const QString& missing : {s.tmp.path() + "/no such folder", s.oldDir + "/a.bmp", s.oldDir + "/a.bmp/x"}) {
        SCOPED_TRACE(missing.toStdString());
        QPointer<frmBrowseDir> first;
        s.openDialog([&](frmBrowseDir* d) {
            first = d;
            d->Text1->setText(missing);
            EXPECT_EQ(okWithMessage(d),
                      QStringLiteral("指定したパスが見つかりません。再度指定しなおしてください。"));
            EXPECT_EQ(QApplication::activeModalWidget(), d) << "offered again, not shown a second time";
            EXPECT_EQ(s.openDialogs(), 1);
            EXPECT_EQ(d->Text1->text(), missing);
            EXPECT_EQ(s.bus.signFolderPath, missing);
            QTest::mouseClick(d->Command2[1], Qt::LeftButton);
        });
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(s.bus.signFolderPath, missing) << "キャンセル keeps the rejected text";
        EXPECT_EQ(entries(s.bus), oldEntries);
        EXPECT_EQ(s.signWidth(), 9);
        EXPECT_EQ(s.bus.signStepper.position(), 1);
    }

    struct Failure {
        const char* name;
        QString path;
        int err;
    };
    std::vector<Failure> failures{{"a name too long", s.tmp.path() + u'/' + QString(300, u'x'), ENAMETOOLONG}};
    const QString locked = s.tmp.path() + "/locked";
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (::geteuid() != 0) // the superuser reads any folder
        failures.push_back({"an unreadable folder", locked, EACCES});
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        s.openDialog([&](frmBrowseDir* d) {
            d->Text1->setText(f.path);
            EXPECT_EQ(okWithMessage(d), QString::fromLocal8Bit(std::strerror(f.err)));
        });
        EXPECT_EQ(s.openDialogs(), 0);
        EXPECT_EQ(s.bus.signFolderPath, f.path);
        EXPECT_EQ(entries(s.bus), oldEntries);
        EXPECT_EQ(s.signWidth(), 9);
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// The browse button puts the chosen folder into the box, lower-cased only
// where the lower-cased path names the same folder; cancelling keeps the
// text; long paths come through whole. Nothing is stored before OK.
TEST(FolderDialog, BrowseLowerCasesOnlyWhenTheSameFolder)
{
    // A root whose own path is lower case, so lower-casing a path below it
    // touches only the names made here.
    QString base = QDir::tempPath();
    if (base != base.toLower())
        base = QStringLiteral("/tmp");
    const QString root = base + QStringLiteral("/kururina-case-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QDir().mkpath(root));
    struct Cleanup {
        QString path;
        ~Cleanup() { QDir(path).removeRecursively(); }
    } cleanup{root};

    QDir r(root);
    ASSERT_TRUE(r.mkpath("Signs") && QFile::link("Signs", root + "/signs")); // same folder
    ASSERT_TRUE(r.mkpath("Route") && r.mkpath("route"));                     // another folder
    ASSERT_TRUE(r.mkpath("Only"));                                           // nothing there
    QString deep = root;
    while (deep.size() < 300)
        deep += QStringLiteral("/Abschnitt");
    ASSERT_TRUE(QDir().mkpath(deep));

    Form1 bus;
    bus.signFolderPath = QStringLiteral("typed");
    const struct {
        const char* why;
        QString chosen, shown;
    } rows[] = {
        {"lower-cased name is the same folder", root + "/Signs", root + "/signs"},
        {"lower-cased name is another folder", root + "/Route", root + "/Route"},
        {"lower-cased name does not exist", root + "/Only", root + "/Only"},
        {"chooser cancelled", QString(), QStringLiteral("typed")},
        {"longer than 256 characters", deep, deep},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        whenModal<frmBrowseDir>([&](frmBrowseDir* d) {
            d->chooseFolder = [&](QWidget*, const QString&) { return row.chosen; };
            QTest::mouseClick(d->Command1, Qt::LeftButton);
            EXPECT_EQ(d->Text1->text(), row.shown);
            QTest::mouseClick(d->Command2[1], Qt::LeftButton);
        });
        bus.MnuEditHkPic_Click();
        EXPECT_EQ(bus.signFolderPath, QStringLiteral("typed"));
    }
}

// The real chooser: Qt's folder dialog over the bus, folders only, starting
// at the top of the file system.
TEST(FolderDialog, BrowseOpensTheFolderChooser)
{
    QTemporaryDir tmp;
    const QString chosen = tmp.path() + "/signs";
    ASSERT_TRUE(QDir().mkpath(chosen));
    Form1 bus;
    whenModal<frmBrowseDir>([&](frmBrowseDir* d) {
        whenModal<QFileDialog>([&](QFileDialog* fd) {
            EXPECT_EQ(fd->windowTitle(), QStringLiteral("方向幕のあるフォルダを選択してください"));
            EXPECT_EQ(fd->parentWidget(), &bus);
            EXPECT_EQ(fd->fileMode(), QFileDialog::Directory);
            EXPECT_TRUE(fd->testOption(QFileDialog::ShowDirsOnly));
            EXPECT_EQ(fd->directory().absolutePath(), QStringLiteral("/"));
            fd->setDirectory(chosen);
            static_cast<QDialog*>(fd)->accept();
        });
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        EXPECT_EQ(d->Text1->text(), sign::browsedFolderText(chosen));
        d->close();
    });
    bus.MnuEditHkPic_Click();
}
