// The sign folder dialog, driven through its real modal loop from the panel's
// folder button: OK and キャンセル, a missing folder offered again, other
// failures, and the browse button's text.
#include "tests/support/bus.h"

#include <cerrno>
#include <cstring>

using testing_support::whenModal;

namespace
{

// A bus whose sign shows b.bmp (9 px wide) of the folder "old", at position 1;
// "new" holds x.bmp and y.bmp (20 and 21 px).
struct SignFixture {
    QTemporaryDir tmp;
    const QString oldDir = tmp.path() + "/old", newDir = tmp.path() + "/new";
    Form1 bus;
    SignFixture()
    {
        QDir().mkpath(oldDir);
        QDir().mkpath(newDir);
        for (const auto& [name, width] : {std::pair{"/old/a.bmp", 8}, {"/old/b.bmp", 9}, {"/old/c.bmp", 10},
                                          {"/new/x.bmp", 20}, {"/new/y.bmp", 21}})
            testing_support::writeBmp(tmp.path() + name, width);
        bus.signFolderPath = oldDir;
        EXPECT_TRUE(bus.picDir());
        bus.Picture1_KeyDown(sign::vkDown, 0);
    }
    int signWidth() const { return bus.ImgDesiMaku->picture().size.width(); }
    int entries() const { return bus.File1.listCount(); }
    // Opens the dialog from the panel's folder button; f acts inside it and must close it.
    void open(std::function<void(frmBrowseDir*)> f)
    {
        QPointer<frmBrowseDir> seen;
        whenModal<frmBrowseDir>([&](frmBrowseDir* d) {
            seen = d;
            f(d);
        });
        bus.panel().Command1->click();
        EXPECT_TRUE(seen.isNull()) << "the dialog outlived its opening";
    }
};

// Presses OK expecting one message box, with the text and an OK button only; returns its text.
QString okWithMessage(frmBrowseDir* d)
{
    QString text;
    whenModal<QMessageBox>([&](QMessageBox* m) {
        text = m->text();
        EXPECT_TRUE(m->standardButtons() == QMessageBox::Ok && m->icon() == QMessageBox::NoIcon);
        m->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(d->Command2[0], Qt::LeftButton);
    return text;
}

} // namespace

// Enter and Escape press nothing; キャンセル changes nothing; OK stores the
// text as typed and applies it to the list, leaving the sign's picture and
// position alone; each opening starts afresh from the stored path.
TEST(FolderDialog, OkAppliesCancelChangesNothing)
{
    SignFixture s;
    for (const int button : {1, 0}) {
        s.open([&](frmBrowseDir* d) {
            EXPECT_EQ(d->Text1->text(), s.oldDir + "/") << "the stored path, separator included";
            EXPECT_EQ(d->focusWidget(), d->Text1);
            d->Text1->selectAll();
            QTest::keyClicks(d->Text1, s.newDir);
            for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(d->Text1, k);
            EXPECT_TRUE(d->isVisible()) << "Enter or Escape closed the dialog";
            QTest::mouseClick(d->Command2[button], Qt::LeftButton);
        });
        EXPECT_EQ(s.bus.signFolderPath, button ? s.oldDir + "/" : s.newDir) << "stored as typed, no separator added";
        EXPECT_EQ(s.entries(), button ? 3 : 2);
        EXPECT_EQ(s.signWidth(), 9) << "the sign keeps its picture";
        EXPECT_EQ(s.bus.signStepper.position(), 1);
    }
    s.bus.Picture1_KeyDown(sign::vkUp, 0);
    EXPECT_EQ(s.signWidth(), 20) << "stepping goes on from the old position in the new list";
}

// A missing folder, or a path that a file stands in: the message, then the
// same dialog stays open with the rejected text. Any other failure: the
// system's words, and it closes. The list and the sign keep what they had.
TEST(FolderDialog, MissingFolderIsOfferedAgainOtherFailuresClose)
{
    SignFixture s;
    struct Row {
        QString path;
        QString message; // empty: the missing folder's message, and the dialog stays
    };
    std::vector<Row> rows{{s.tmp.path() + "/no such folder", {}}, {s.oldDir + "/a.bmp", {}}, {s.oldDir + "/a.bmp/x", {}},
                          {s.tmp.path() + u'/' + QString(300, u'x'), QString::fromLocal8Bit(std::strerror(ENAMETOOLONG))}};
    const QString locked = s.tmp.path() + "/locked";
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (::geteuid() != 0) // the superuser reads any folder
        rows.push_back({locked, QString::fromLocal8Bit(std::strerror(EACCES))});
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path.toStdString());
        s.open([&](frmBrowseDir* d) {
            d->Text1->setText(r.path);
            const QString shown = okWithMessage(d);
            if (!r.message.isEmpty()) {
                EXPECT_EQ(shown, r.message);
                return;
            }
            EXPECT_EQ(shown, QStringLiteral("指定したパスが見つかりません。再度指定しなおしてください。"));
            EXPECT_EQ(QApplication::activeModalWidget(), d) << "offered again, not shown a second time";
            EXPECT_EQ(d->Text1->text(), r.path);
            QTest::mouseClick(d->Command2[1], Qt::LeftButton);
        });
        EXPECT_EQ(s.bus.signFolderPath, r.path) << "キャンセル keeps the rejected text";
        EXPECT_EQ(s.entries(), 3);
        EXPECT_EQ(s.signWidth(), 9);
        EXPECT_EQ(s.bus.signStepper.position(), 1);
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// The browse button: the chosen folder in the box, lower-cased only where the
// lower-cased path names the same folder; a cancel keeps the text; long paths
// come through whole; nothing is stored before OK. (The real chooser opens in
// the end-to-end test.)
TEST(FolderDialog, BrowseLowerCasesOnlyWhenTheSameFolder)
{
    // A root whose own path is lower case, so lower-casing a path below it
    // touches only the names made here.
    const QString root = QStringLiteral("/tmp/kururina-case-%1").arg(QCoreApplication::applicationPid());
    struct Cleanup {
        QDir dir;
        ~Cleanup() { dir.removeRecursively(); }
    } cleanup{root};
    QDir r(root);
    ASSERT_TRUE(r.mkpath("Signs") && QFile::link("Signs", root + "/signs")); // the same folder
    ASSERT_TRUE(r.mkpath("Route") && r.mkpath("route") && r.mkpath("Only")); // another folder; none
    QString deep = root;
    while (deep.size() < 300)
        deep += QStringLiteral("/Abschnitt");
    ASSERT_TRUE(QDir().mkpath(deep));
    const std::pair<QString, QString> rows[] = {
        {root + "/Signs", root + "/signs"}, {root + "/Route", root + "/Route"}, {root + "/Only", root + "/Only"},
        {QString(), QStringLiteral("typed")}, {deep, deep}};

    Form1 bus;
    bus.signFolderPath = QStringLiteral("typed");
    for (const auto& [chosen, shown] : rows) {
        whenModal<frmBrowseDir>([&](frmBrowseDir* d) {
            d->chooseFolder = [&](QWidget*, const QString&) { return chosen; };
            QTest::mouseClick(d->Command1, Qt::LeftButton);
            EXPECT_EQ(d->Text1->text(), shown);
            QTest::mouseClick(d->Command2[1], Qt::LeftButton);
        });
        bus.MnuEditHkPic_Click();
        EXPECT_EQ(bus.signFolderPath, QStringLiteral("typed"));
    }
}
