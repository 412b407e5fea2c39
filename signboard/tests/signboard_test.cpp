// The signboard: where its frame goes, and its commands on a real bus window
// (check marks against visibility, the refit, the reset, the mouse, and a
// picture set through the real file dialog).
#include "platform/widgets/file_open_dialog.h"
#include "signboard/frame_geometry.h"
#include "tests/support/bus.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileSystemModel>

namespace
{

using Frame = std::array<tw::Rect, 3>;

Frame frameOf(const Form1& bus)
{
    return {bus.shpK_Waku[0]->twRect(), bus.shpK_Waku[1]->twRect(), bus.shpK_Waku[2]->twRect()};
}

Frame place(tw::Rect (*how)(int, const tw::Rect&, const tw::Rect&), const tw::Rect& board, const Frame& f)
{
    return {how(0, board, f[0]), how(1, board, f[1]), how(2, board, f[2])};
}
Frame refitAround(const Form1& bus)
{
    return place(signboard::refitPiece, bus.PicKanban->twRect(), frameOf(bus));
}

// Each check mark equals its visibility; the three frame pieces go together.
void expectMarksFollow(const Form1& bus, bool board, bool frame)
{
    EXPECT_TRUE(bus.MnuViewKanban->isChecked() == board && !bus.PicKanban->isHidden() == board);
    EXPECT_TRUE(bus.MnuViewWaku->isChecked() == frame && bus.shpK_Waku[0]->isVisible() == frame &&
                bus.shpK_Waku[1]->isVisible() == frame && bus.shpK_Waku[2]->isVisible() == frame);
}

} // namespace

// The worked values: the refit lays all three pieces round the board (posts
// 15 below it, the bar 75 beyond each side), wherever it is and unclamped,
// and keeps the sizes it never sets; the size follower leaves the posts' height.
TEST(FrameGeometry, WorkedValues)
{
    static const Frame layout{{{7395, 1695, 75, 495}, {8880, 1695, 75, 495}, {7395, 2160, 1560, 60}}};
    const struct {
        tw::Rect board;
        Frame want, start = layout;
    } rows[] = {
        {{7425, 1665, 1410, 450}, {{{7350, 1665, 75, 465}, {8835, 1665, 75, 465}, {7350, 2115, 1560, 60}}}},
        {{30, 1710, 1410, 450},
         {{{-45, 1710, 90, 465}, {1440, 1710, 45, 465}, {-45, 2160, 1560, 33}}},
         {{{0, 0, 90, 1}, {0, 0, 45, 1}, {0, 0, 1, 33}}}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(place(signboard::refitPiece, r.board, r.start), r.want) << r.board.left;
}

TEST(SignboardCommands, SizeFollowerMouseAndMarks)
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
    EXPECT_EQ(frameOf(bus), (Frame{{{7395, 1710, 75, 465}, {8970, 1710, 75, 465}, {7395, 2460, 1650, 60}}}));

    // A double-click refits (other buttons: form1_window_test).
    bus.PicKanban->moveTw({6000, 1200, 1410, 450});
    QTest::mouseDClick(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    const Frame dropped = frameOf(bus);
    EXPECT_EQ(dropped, refitAround(bus));

    // The left button drags in whole pixels, the frame stays, and after the
    // release moves no longer drag.
    const QPoint start = bus.PicKanban->pos();
    const auto move = [&](QPointF to) {
        QMouseEvent e(QEvent::MouseMove, to, bus.PicKanban->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                      {});
        QApplication::sendEvent(bus.PicKanban, &e);
    };
    QTest::mousePress(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    // Where the board's own point goes, and where the board lands: across, up and down alone too.
    const std::pair<QPointF, QPoint> moves[] = {
        {{-30, 15}, {-40, 5}}, {{20, 10}, {-30, 5}}, {{10, 0}, {-30, -5}}, {{0, 20}, {-40, 5}}};
    for (const auto& [to, at] : moves) {
        move(to);
        EXPECT_EQ(bus.PicKanban->pos(), start + at);
    }
    QTest::mouseRelease(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(bus.PicKanban->twRect(),
              (tw::Rect{tw::fromPixels(start.x() - 40), tw::fromPixels(start.y() + 5), 1410, 450}));
    move(QPointF(50, 0));
    EXPECT_TRUE(bus.PicKanban->pos() == start + QPoint(-40, 5) && frameOf(bus) == dropped);
    // Past the window's edges it stops at them.
    QTest::mousePress(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    move(QPointF(5000, 5000));
    const QPoint bottomRight = bus.PicKanban->geometry().bottomRight();
    move(QPointF(-5000, -5000));
    EXPECT_TRUE(bottomRight == bus.rect().bottomRight() && bus.PicKanban->pos() == QPoint(0, 0));
    QTest::mouseRelease(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
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
    // The reset keeps both visibilities and their marks, and refits (its
    // place and the picture path: SetPictureThroughTheDialog).
    bus.MnuViewWaku_Click();
    bus.MnuViewKanban_Click();
    bus.MnuKanbanReset->trigger();
    expectMarksFollow(bus, false, false);
    EXPECT_EQ(frameOf(bus), refitAround(bus));
}

// The file dialog speaks Japanese whatever the locale, offers picture names
// in any letter case, and opens at the last choice. A picture gives the
// signboard its size, its path and a refit; a file that is no picture, a
// cancel and a name that does not exist change nothing and say nothing (no
// warning of the dialog's own either).
TEST(SignboardCommands, SetPictureThroughTheDialog)
{
    QTemporaryDir dir;
    const QString good = testing_support::writeBmp(dir.filePath(QStringLiteral("board.bmp")), 100, 50);
    const QString bad =
        testing_support::writeFile(dir.filePath(QStringLiteral("broken.bmp")), "BM not a bitmap");
    const QStringList offered{"a.jpg", "b.JPG", "c.jpeg", "d.Bmp", "e.gif", "f.wmf", "g.EMF"},
        hidden{"t.txt", "h.png", "jpg"};
    for (const QString& n : offered + hidden)
        testing_support::writeFile(dir.filePath(n), {});
    Form1 bus;
    bus.show();
    bus.MnuKanbanReset_Click();
    bus.C_Dialog1->setFileName(good);
    // A message box, or the dialog acted on still open (it refused the choice), is a warning.
    QPointer<QFileDialog> actedOn;
    bool warned = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* top = QApplication::activeModalWidget();
        if (qobject_cast<QMessageBox*>(top) || (top && top == actedOn))
            warned = top->close();
    });
    watch.start(50);
    Frame frame;
    // The name typed (none: a cancel), and the last choice the dialog opens at.
    const struct {
        QString path, last;
    } choices[] = {{good, good}, {QString(), good}, {bad, good}, {dir.filePath("missing.bmp"), bad}};
    for (const auto& c : choices) {
        testing_support::whenModal<QFileDialog>(
            [&](QFileDialog* dlg) {
                // Qt's own title: its Japanese translation is loaded, whatever the locale.
                EXPECT_EQ(dlg->windowTitle(), QStringLiteral("開く"));
                auto* model = dlg->findChild<QFileSystemModel*>(); // it fills in from a worker thread
                EXPECT_TRUE(QTest::qWaitFor(
                    [&] { return model->index(dir.filePath(QStringLiteral("g.EMF"))).isValid(); }));
                QTest::qWait(200);
                for (const QString& n : offered + hidden)
                    EXPECT_EQ(model->index(dir.filePath(n)).isValid(), offered.contains(n))
                        << n.toStdString();
                // The list then selects the last choice again: wait for that, on a busy machine too.
                auto* list = dlg->findChild<QAbstractItemView*>(QStringLiteral("listView"));
                EXPECT_TRUE(QTest::qWaitFor([&] { return list->selectionModel()->hasSelection(); }));
                EXPECT_EQ(dlg->selectedFiles().value(0), c.last) << "opens at the last choice";
                list->clearSelection(); // as the user types
                dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(c.path);
                actedOn = dlg;
                QMetaObject::invokeMethod(dlg, c.path.isEmpty() ? "reject" : "accept");
            },
            [&] { bus.MnuSetKanban->trigger(); });
        if (c.path != good)
            continue;
        EXPECT_TRUE(bus.PicKanban->twRect() == (tw::Rect{7425, 1665, 1500, 750}) &&
                    bus.kanbanPicturePath == good && frameOf(bus) == refitAround(bus))
            << "the picture's size, its path and a refit";
        // The board moved, so that a stray refit would show.
        bus.PicKanban->moveTw({6000, 1000, 1500, 750});
        frame = frameOf(bus);
    }
    EXPECT_FALSE(warned);
    EXPECT_TRUE(bus.PicKanban->twRect() == (tw::Rect{6000, 1000, 1500, 750}) && frameOf(bus) == frame &&
                bus.kanbanPicturePath == good);
    // The reset empties the picture but keeps the path.
    bus.MnuKanbanReset_Click();
    EXPECT_TRUE(bus.PicKanban->picture().isEmpty() && bus.kanbanPicturePath == good &&
                bus.PicKanban->twRect() == (tw::Rect{7425, 1665, 1410, 450}));
}
