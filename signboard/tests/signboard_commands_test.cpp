// The signboard's commands on a real bus window: check marks against
// visibility, the refit, the reset, the mouse, and setting a picture through
// the real file dialog.
#include "app/form1.h"
#include "platform/file_open_dialog.h"
#include "tests/support/files.h"
#include "tests/support/modal.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Frame = std::array<tw::Rect, 3>;

Frame frameOf(const Form1& bus)
{
    return {bus.shpK_Waku[0]->twRect(), bus.shpK_Waku[1]->twRect(), bus.shpK_Waku[2]->twRect()};
}

// The frame as a refit around the board lays it.
Frame refitAround(const Form1& bus)
{
    const tw::Rect b = bus.PicKanban->twRect();
    return {tw::Rect{b.left - 75, b.top, 75, b.height + 15}, tw::Rect{b.left + b.width, b.top, 75, b.height + 15},
            tw::Rect{b.left - 75, b.top + b.height, b.width + 150, 60}};
}

// Each check mark equals its visibility; the three frame pieces go together.
void expectMarksFollow(const Form1& bus, bool board, bool frame)
{
    EXPECT_EQ(bus.MnuViewKanban->isChecked(), board);
    EXPECT_EQ(!bus.PicKanban->isHidden(), board);
    EXPECT_EQ(bus.MnuViewWaku->isChecked(), frame);
    for (const auto& piece : bus.shpK_Waku)
        EXPECT_EQ(piece->isVisible(), frame);
}

// The last dialog choose() acted on: still open afterwards, it refused the choice.
QPointer<QFileDialog> actedOn;

// Picks a file in the open dialog (a typed name when typed), from inside its modal loop.
void choose(const QString& path, bool typed = false)
{
    testing_support::whenModal<QFileDialog>([=](QFileDialog* dlg) {
        actedOn = dlg;
        if (typed) { // as a user types it: the list's selection goes
            dlg->findChild<QAbstractItemView*>(QStringLiteral("listView"))->clearSelection();
            dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        } else {
            dlg->selectFile(path);
        }
        QMetaObject::invokeMethod(dlg, path.isEmpty() ? "reject" : "accept");
    });
}

} // namespace

TEST(SignboardCommands, MarksFollowVisibilityAndTheFrameIsRefitted)
{
    Form1 bus;
    bus.show();
    expectMarksFollow(bus, true, true);
    // Through the menu items, as the user picks them (QAction flips its own
    // mark first); hiding the board leaves the frame.
    bus.MnuViewKanban->trigger();
    expectMarksFollow(bus, false, true);
    bus.MnuViewKanban->trigger();
    expectMarksFollow(bus, true, true);
    // The frame is refitted when it is hidden and when shown, wherever the board went.
    for (const bool shown : {false, true}) {
        bus.PicKanban->moveTw({shown ? 30.0f : 6870.0f, 1000, 1410, 450});
        bus.MnuViewWaku->trigger();
        expectMarksFollow(bus, true, shown);
        EXPECT_EQ(frameOf(bus), refitAround(bus));
    }
    EXPECT_EQ(bus.shpK_Waku[0]->twRect().left, -45.0f) << "nothing clamped";
    // The reset keeps both visibilities, their marks and the picture path.
    bus.MnuViewWaku_Click();
    bus.MnuViewKanban_Click();
    bus.kanbanPicturePath = QStringLiteral("/somewhere/board.bmp");
    bus.MnuKanbanReset->trigger();
    expectMarksFollow(bus, false, false);
    EXPECT_EQ(bus.kanbanPicturePath, QStringLiteral("/somewhere/board.bmp"));
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{7425, 1665, 1410, 450}));
    EXPECT_EQ(frameOf(bus), refitAround(bus));
}

TEST(SignboardCommands, SizeFollowerAndMouse)
{
    Form1 bus;
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    bus.PicKanban_DblClick();
    const Frame fitted = frameOf(bus);
    // A move leaves the frame; a change of size moves it, but not the posts' height.
    bus.PicKanban->moveTw({7000, 1710, 1410, 450});
    EXPECT_EQ(frameOf(bus), fitted);
    bus.PicKanban->moveTw({7470, 1710, 1500, 750});
    EXPECT_EQ(frameOf(bus)[2].width, 1650.0f);
    EXPECT_EQ(frameOf(bus)[0].height, fitted[0].height);

    // A middle press does nothing; a double-click refits.
    bus.PicKanban->moveTw({6000, 1200, 1410, 450});
    const Frame left = frameOf(bus);
    QTest::mouseClick(bus.PicKanban, Qt::MiddleButton, {}, QPoint(10, 10));
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{6000, 1200, 1410, 450}));
    EXPECT_EQ(frameOf(bus), left);
    QTest::mouseDClick(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(frameOf(bus), refitAround(bus));

    // The left button drags in whole pixels, the frame stays, and after the
    // release moves no longer drag.
    const Frame dropped = frameOf(bus);
    const QPoint start = bus.PicKanban->pos();
    const auto move = [&](QPointF to) {
        QMouseEvent e(QEvent::MouseMove, to, bus.PicKanban->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(bus.PicKanban, &e);
    };
    QTest::mousePress(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    move(QPointF(-30, 15));
    EXPECT_EQ(bus.PicKanban->pos(), start + QPoint(-40, 5));
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{tw::fromPixels(start.x() - 40), tw::fromPixels(start.y() + 5), 1410, 450}));
    QTest::mouseRelease(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    move(QPointF(50, 0));
    EXPECT_EQ(bus.PicKanban->pos(), start + QPoint(-40, 5));
    EXPECT_EQ(frameOf(bus), dropped);
}

TEST(SignboardCommands, SetPictureGoodBadMissingAndCancel)
{
    QTemporaryDir dir;
    const QString good = testing_support::writeBmp(dir.filePath(QStringLiteral("board.bmp")), 100, 50);
    const QString bad = testing_support::writeFile(dir.filePath(QStringLiteral("broken.bmp")), "BM not a bitmap");
    Form1 bus;
    bus.show();
    bus.MnuKanbanReset_Click();
    choose(good);
    bus.MnuSetKanban->trigger();
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{7425, 1665, 1500, 750})) << "the picture's size";
    EXPECT_EQ(bus.kanbanPicturePath, good);
    EXPECT_FALSE(bus.PicKanban->picture().isEmpty());
    EXPECT_EQ(frameOf(bus), refitAround(bus));

    // With the board moved, so that a stray refit would show: a file that is
    // no picture, a cancel, and a name that does not exist change nothing and
    // say nothing (no warning of the dialog's own either).
    bus.PicKanban->moveTw({6000, 1000, 1500, 750});
    const Frame frame = frameOf(bus);
    bool warned = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* top = QApplication::activeModalWidget();
        if (qobject_cast<QMessageBox*>(top) || (top && top == actedOn)) {
            warned = true;
            top->close();
        }
    });
    watch.start(50);
    for (const auto& [path, typed] : {std::pair{bad, false}, {QString(), false}, {dir.filePath("missing.bmp"), true}}) {
        choose(path, typed);
        bus.MnuSetKanban_Click();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog stayed open";
    }
    EXPECT_FALSE(warned);
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{6000, 1000, 1500, 750}));
    EXPECT_EQ(bus.kanbanPicturePath, good);
    EXPECT_FALSE(bus.PicKanban->picture().isEmpty());
    EXPECT_EQ(frameOf(bus), frame);

    // The reset empties the picture but keeps the path.
    bus.MnuKanbanReset_Click();
    EXPECT_TRUE(bus.PicKanban->picture().isEmpty());
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{7425, 1665, 1410, 450}));
    EXPECT_EQ(bus.kanbanPicturePath, good);
}

// The dialog offers picture names in any letter case, opens at the last
// choice, and speaks Japanese whatever the locale.
TEST(SignboardCommands, DialogOffersPictureNamesInAnyCase)
{
    QTemporaryDir dir;
    const QStringList offered{"a.jpg", "b.JPG", "c.jpeg", "d.Bmp", "e.gif", "f.wmf", "g.EMF"};
    const QStringList hidden{"notes.txt", "h.png", "jpg"};
    for (const QString& n : offered + hidden)
        testing_support::writeFile(dir.filePath(n), {});
    Form1 bus;
    bus.C_Dialog1->setFileName(dir.filePath(QStringLiteral("a.jpg")));
    bool ran = false;
    testing_support::whenModal<QFileDialog>([&](QFileDialog* dlg) {
        ran = true;
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("開く"));
        EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(), QStringLiteral("アドレス:"));
        EXPECT_EQ(dlg->selectedFiles().value(0), dir.filePath(QStringLiteral("a.jpg")));
        auto* model = dlg->findChild<QFileSystemModel*>();
        // The model fills in from a worker thread.
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->index(dir.filePath(QStringLiteral("g.EMF"))).isValid(); }));
        QTest::qWait(200);
        for (const QString& n : offered + hidden)
            EXPECT_EQ(model->index(dir.filePath(n)).isValid(), offered.contains(n)) << n.toStdString();
        dlg->reject();
    });
    EXPECT_FALSE(bus.C_Dialog1->show(&bus));
    EXPECT_TRUE(ran);
    EXPECT_EQ(bus.C_Dialog1->fileName(), dir.filePath(QStringLiteral("a.jpg"))) << "a cancel keeps the name";
}
