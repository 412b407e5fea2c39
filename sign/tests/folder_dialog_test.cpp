// The sign folder dialog, driven through its real modal loop from the panel's
// folder button: OK and キャンセル, a missing folder offered again, other
// failures, and the browse button's text.
#include "tests/support/bus.h"
#include "tests/support/ordinary_user.h"

using testing_support::whenModal;

// Each opening shows the stored path and takes the typed text; Enter and
// Escape press nothing. キャンセル changes nothing. OK stores the text as typed
// (no separator added) and applies it to the list: a missing folder, or a path
// that a file stands in, brings its message and the same dialog stays open
// (cancelled here); any other failure brings the system's words and closes it.
// Messages have the text and an OK button only. The list keeps its entries on
// a failure, and the sign its picture and position throughout. The browse
// button puts the chosen folder in the box, lower-cased only where the
// lower-cased path names the same folder; a cancel keeps the text; long paths
// come through whole; nothing is stored before OK. (The real chooser opens in
// the end-to-end test.)
TEST(FolderDialog, OkAppliesCancelChangesNothingFailuresSayWhyBrowseLowerCases)
{
    // Below a root whose own path is lower case, so that only the names made here change case.
    const QString root = QStringLiteral("/tmp/kururina-case-%1").arg(QCoreApplication::applicationPid());
    struct Cleanup {
        QDir dir;
        ~Cleanup() { dir.removeRecursively(); }
    } cleanup{root};
    // The sign shows b.bmp (9 px wide) of the folder "old", at position 1; "new" holds x.bmp and y.bmp.
    const QString oldDir = root + "/old", newDir = root + "/new", locked = root + "/locked";
    for (const QString& d : {oldDir, newDir, locked})
        QDir().mkpath(d);
    const std::pair<const char*, int> pictures[] = {
        {"/old/a.bmp", 8}, {"/old/b.bmp", 9}, {"/old/c.bmp", 10}, {"/new/x.bmp", 20}, {"/new/y.bmp", 21}};
    for (const auto& [name, width] : pictures)
        testing_support::writeBmp(root + name, width);
    Form1 bus;
    bus.signFolderPath = oldDir;
    ASSERT_TRUE(bus.picDir());
    bus.Picture1_KeyDown(sign::vkDown, 0);
    const auto signWidth = [&] { return bus.ImgDesiMaku->picture().size.width(); };

    const QString missing = QStringLiteral("指定したパスが見つかりません。再度指定しなおしてください。");
    // What is typed, the button pressed (0 OK, 1 キャンセル), the message (none: no message), then
    // the stored path and the list's entries.
    struct Row {
        QString typed;
        int button;
        QString message, stored;
        int entries;
        bool asOrdinaryUser = false; // the superuser reads any folder
    };
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    QFile::setPermissions(root, QFile::permissions(root) | QFileDevice::ExeOther);
    const Row rows[] = {
        {newDir, 1, {}, oldDir + "/", 3},
        {root + "/no such folder", 0, missing, root + "/no such folder", 3},
        {oldDir + "/a.bmp", 0, missing, oldDir + "/a.bmp", 3},
        {locked, 0, QString::fromLocal8Bit(std::strerror(EACCES)), locked, 3, true},
        {newDir, 0, {}, newDir, 2},
    };
    const auto play = [&](const Row& r) {
        QPointer<frmBrowseDir> seen;
        whenModal<frmBrowseDir>(
            [&](frmBrowseDir* d) {
                seen = d;
                EXPECT_TRUE(d->Text1->text() == bus.signFolderPath && d->focusWidget() == d->Text1);
                d->Text1->selectAll();
                QTest::keyClicks(d->Text1, r.typed);
                for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                    QTest::keyClick(d->Text1, k);
                EXPECT_TRUE(d->isVisible()) << "Enter or Escape closed the dialog";
                QString shown;
                const auto press = [&] { QTest::mouseClick(d->Command2[r.button], Qt::LeftButton); };
                if (r.message.isEmpty()) {
                    press();
                } else {
                    whenModal<QMessageBox>(
                        [&](QMessageBox* m) {
                            shown = m->text();
                            EXPECT_TRUE(m->standardButtons() == QMessageBox::Ok &&
                                        m->icon() == QMessageBox::NoIcon);
                            m->button(QMessageBox::Ok)->click();
                        },
                        press);
                }
                EXPECT_EQ(shown, r.message);
                if (r.message == missing) {
                    EXPECT_EQ(QApplication::activeModalWidget(), d)
                        << "offered again, not shown a second time";
                    EXPECT_EQ(d->Text1->text(), r.typed);
                    QTest::mouseClick(d->Command2[1], Qt::LeftButton);
                }
            },
            [&] { bus.panel().Command1->click(); });
        EXPECT_TRUE(seen.isNull()) << "the dialog outlived its opening";
        EXPECT_TRUE(bus.signFolderPath == r.stored && bus.File1.listCount() == r.entries);
        EXPECT_TRUE(signWidth() == 9 && bus.signStepper.position() == 1) << "the sign keeps its picture";
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed.toStdString());
        r.asOrdinaryUser ? testing_support::asOrdinaryUser([&] { play(r); }) : play(r);
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    bus.Picture1_KeyDown(sign::vkUp, 0);
    EXPECT_EQ(signWidth(), 20) << "stepping goes on from the old position in the new list";

    QDir top(root);
    ASSERT_TRUE(top.mkpath("Signs") && QFile::link("Signs", root + "/signs"));     // the same folder
    ASSERT_TRUE(top.mkpath("Route") && top.mkpath("route") && top.mkpath("Only")); // another folder; none
    for (const QString& p : {QStringLiteral("Route"), QStringLiteral("Only")})
        EXPECT_EQ(sign::browsedFolderText(root + u'/' + p), root + u'/' + p);
    // The chooser cancelled, then a long path through a folder with a lower-case name too.
    frmBrowseDir d(bus);
    d.Text1->setText(QStringLiteral("typed"));
    const QString deep = root + "/Signs" + QStringLiteral("/abschnitt").repeated(30);
    ASSERT_TRUE(QDir().mkpath(deep));
    for (const QString& chosen : {QString(), deep}) {
        d.chooseFolder = [&](QWidget*, const QString&) { return chosen; };
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        EXPECT_EQ(d.Text1->text(), chosen.isEmpty() ? QStringLiteral("typed") : deep.toLower());
    }
    EXPECT_EQ(bus.signFolderPath, newDir + "/") << "stored before OK";
}
