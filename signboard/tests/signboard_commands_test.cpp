// The signboard's commands on a real bus window: check marks against
// visibility, the reset, and setting a picture through the real file dialog.
#include "app/form1.h"
#include "platform/file_open_dialog.h"
#include "tests/support/modal.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Frame = std::array<tw::Rect, 3>;

Frame frameOf(const Form1& bus)
{
    return {bus.shpK_Waku[0]->twRect(), bus.shpK_Waku[1]->twRect(), bus.shpK_Waku[2]->twRect()};
}

// The frame as a refit around the board would lay it.
Frame refitAround(const tw::Rect& b)
{
    return {tw::Rect{b.left - 75, b.top, 75, b.height + 15}, tw::Rect{b.left + b.width, b.top, 75, b.height + 15},
            tw::Rect{b.left - 75, b.top + b.height, b.width + 150, 60}};
}

void expectInvariants(const Form1& bus, const char* after)
{
    SCOPED_TRACE(after);
    EXPECT_EQ(bus.MnuViewKanban->isChecked(), !bus.PicKanban->isHidden());
    const bool frame = bus.shpK_Waku[0]->isVisible();
    EXPECT_EQ(bus.MnuViewWaku->isChecked(), frame);
    EXPECT_EQ(bus.shpK_Waku[1]->isVisible(), frame);
    EXPECT_EQ(bus.shpK_Waku[2]->isVisible(), frame);
}

void whenDialog(std::function<void(QFileDialog*)> f)
{
    testing_support::whenModal<QFileDialog>(std::move(f));
}

void choose(QFileDialog* dlg, const QString& path)
{
    dlg->selectFile(path);
    QMetaObject::invokeMethod(dlg, "accept");
}

QString writeBmp(const QString& path, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    EXPECT_TRUE(img.save(path, "BMP"));
    return path;
}

} // namespace

TEST(SignboardCommands, CheckMarksFollowVisibilityThroughEveryCommand)
{
    Form1 bus;
    bus.show();
    expectInvariants(bus, "layout");
    EXPECT_TRUE(bus.MnuViewKanban->isChecked());

    // Through the menu items, as the user picks them: QAction flips its own
    // mark first, the handler must still end with mark == visibility.
    bus.MnuViewKanban->trigger();
    EXPECT_TRUE(bus.PicKanban->isHidden());
    EXPECT_TRUE(bus.shpK_Waku[0]->isVisible()) << "hiding the signboard leaves the frame";
    expectInvariants(bus, "signboard hidden");
    bus.MnuViewKanban->trigger();
    EXPECT_FALSE(bus.PicKanban->isHidden());
    expectInvariants(bus, "signboard shown again");

    // The frame: hidden pieces are refitted too, around a board that moved.
    bus.PicKanban->moveTw({6870, 1000, 1410, 450});
    bus.MnuViewWaku->trigger();
    EXPECT_FALSE(bus.shpK_Waku[0]->isVisible());
    EXPECT_EQ(frameOf(bus), refitAround(bus.PicKanban->twRect())) << "refit runs when hiding as well";
    expectInvariants(bus, "frame hidden");
    bus.PicKanban->moveTw({30, 1710, 1410, 450});
    bus.MnuViewWaku->trigger();
    EXPECT_EQ(frameOf(bus), refitAround(bus.PicKanban->twRect()));
    EXPECT_EQ(bus.shpK_Waku[0]->twRect().left, -45.0f);
    expectInvariants(bus, "frame shown again");

    // Direct calls (the settings restore's way) keep the same rules.
    bus.MnuViewWaku_Click();
    bus.MnuViewKanban_Click();
    expectInvariants(bus, "direct calls");

    // The reset keeps both visibilities and marks, and the picture path.
    bus.kanbanPicturePath = QStringLiteral("/somewhere/board.bmp");
    bus.MnuKanbanReset->trigger();
    EXPECT_TRUE(bus.PicKanban->isHidden());
    EXPECT_FALSE(bus.shpK_Waku[0]->isVisible());
    expectInvariants(bus, "reset");
    EXPECT_EQ(bus.kanbanPicturePath, QStringLiteral("/somewhere/board.bmp"));
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{7425, 1665, 1410, 450}));
    EXPECT_EQ(frameOf(bus), refitAround(bus.PicKanban->twRect()));
}

TEST(SignboardCommands, SizeFollowerAndMouse)
{
    Form1 bus;
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    bus.PicKanban_DblClick();
    const Frame fitted = frameOf(bus);

    // A move without a change of size leaves the frame; a size change moves
    // it but not the posts' height.
    bus.PicKanban->moveTw({7000, 1710, 1410, 450});
    EXPECT_EQ(frameOf(bus), fitted);
    bus.PicKanban->moveTw({7470, 1710, 1500, 750});
    EXPECT_EQ(frameOf(bus)[2].width, 1650.0f);
    EXPECT_EQ(frameOf(bus)[0].height, fitted[0].height);

    // Middle press does nothing; a double-click refits.
    bus.PicKanban->moveTw({7470, 1710, 1410, 450});
    bus.PicKanban_DblClick();
    const Frame before = frameOf(bus);
    bus.PicKanban->moveTw({6000, 1200, 1410, 450});
    QTest::mouseClick(bus.PicKanban, Qt::MiddleButton, {}, QPoint(10, 10));
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{6000, 1200, 1410, 450}));
    EXPECT_EQ(frameOf(bus), before);
    QTest::mouseDClick(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(frameOf(bus), refitAround(bus.PicKanban->twRect()));

    // Left drag: the board follows in whole pixels and the frame does not move
    // at the drop.
    bus.PicKanban_DblClick();
    const Frame dropped = frameOf(bus);
    QTest::mousePress(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    const QPoint start = bus.PicKanban->pos();
    QMouseEvent move(QEvent::MouseMove, QPointF(10 - 40, 10 + 5), bus.PicKanban->mapToGlobal(QPointF(-30, 15)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(bus.PicKanban, &move);
    EXPECT_EQ(bus.PicKanban->pos(), start + QPoint(-40, 5));
    EXPECT_EQ(bus.PicKanban->twLeft(), tw::fromPixels(start.x() - 40));
    EXPECT_EQ(bus.PicKanban->twTop(), tw::fromPixels(start.y() + 5));
    QTest::mouseRelease(bus.PicKanban, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(bus.PicKanban->twWidth(), 1410.0f);
    EXPECT_EQ(frameOf(bus), dropped);

    // After the release, moves no longer drag.
    const tw::Rect rest = bus.PicKanban->twRect();
    QMouseEvent stray(QEvent::MouseMove, QPointF(50, 0), bus.PicKanban->mapToGlobal(QPointF(50, 0)), Qt::NoButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(bus.PicKanban, &stray);
    EXPECT_EQ(bus.PicKanban->twRect(), rest);
}

TEST(SignboardCommands, SetPictureGoodBadAndCancel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = writeBmp(dir.filePath(QStringLiteral("board.bmp")), 100, 50);
    const QString bad = dir.filePath(QStringLiteral("broken.bmp"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM this is not a bitmap at all");
    }
    Form1 bus;
    bus.show();
    bus.MnuKanbanReset_Click();

    // Good file: picture, size, path, refit.
    whenDialog([&](QFileDialog* dlg) { choose(dlg, good); });
    bus.MnuSetKanban->trigger();
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{7425, 1665, 1500, 750}));
    EXPECT_EQ(bus.kanbanPicturePath, good);
    EXPECT_FALSE(bus.PicKanban->picture().isEmpty());
    EXPECT_EQ(frameOf(bus), refitAround(bus.PicKanban->twRect()));

    // Move the board so a stray refit would show; then a bad file and a cancel change nothing.
    bus.PicKanban->moveTw({6000, 1000, 1500, 750});
    const Frame frame = frameOf(bus);
    whenDialog([&](QFileDialog* dlg) {
        EXPECT_EQ(dlg->selectedFiles().value(0), good) << "the last choice is offered again";
        choose(dlg, bad);
    });
    bus.MnuSetKanban_Click();
    whenDialog([&](QFileDialog* dlg) { dlg->reject(); });
    bus.MnuSetKanban_Click();
    // A name that does not exist, typed as a user would, ends the command as
    // silently, with no warning of the dialog's own and no dialog left open.
    bool typed = false, warned = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            warned = true;
            box->done(0);
        } else if (auto* dlg = qobject_cast<QFileDialog*>(top); dlg && typed) {
            warned = true;
            dlg->reject();
        }
    });
    watch.start(50);
    whenDialog([&](QFileDialog* dlg) {
        dlg->findChild<QAbstractItemView*>(QStringLiteral("listView"))->clearSelection();
        dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(dir.filePath(QStringLiteral("missing.bmp")));
        typed = true;
        QMetaObject::invokeMethod(dlg, "accept");
    });
    bus.MnuSetKanban_Click();
    EXPECT_FALSE(warned);
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{6000, 1000, 1500, 750}));
    EXPECT_EQ(bus.kanbanPicturePath, good);
    EXPECT_FALSE(bus.PicKanban->picture().isEmpty());
    EXPECT_EQ(frameOf(bus), frame);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no message after a failure";

    // The reset empties the picture but keeps size rules and the path.
    bus.MnuKanbanReset_Click();
    EXPECT_TRUE(bus.PicKanban->picture().isEmpty());
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{7425, 1665, 1410, 450}));
    EXPECT_EQ(bus.kanbanPicturePath, good);
}

TEST(SignboardCommands, DialogOffersPictureNamesInAnyCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList offered{"a.jpg", "b.JPG", "c.jpeg", "d.Bmp", "e.gif", "f.wmf", "g.EMF"};
    const QStringList hidden{"notes.txt", "h.png", "jpg"};
    for (const QString& n : offered + hidden) {
        QFile f(dir.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Form1 bus;
    bool ran = false;
    bus.C_Dialog1->setFileName(dir.filePath(QStringLiteral("a.jpg")));
    whenDialog([&](QFileDialog* dlg) {
        ran = true;
        // Qt's own texts in Japanese, whatever the locale the tests run in.
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("開く"));
        EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(), QStringLiteral("アドレス:"));
        auto* model = dlg->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        // The model fills in from a worker thread.
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->index(dir.filePath(QStringLiteral("a.jpg"))).isValid(); }));
        QTest::qWait(200);
        for (const QString& n : offered)
            EXPECT_TRUE(model->index(dir.filePath(n)).isValid()) << n.toStdString() << " is not offered";
        for (const QString& n : hidden)
            EXPECT_FALSE(model->index(dir.filePath(n)).isValid()) << n.toStdString() << " is offered";
        dlg->reject();
    });
    EXPECT_FALSE(bus.C_Dialog1->show(&bus));
    EXPECT_TRUE(ran);
    EXPECT_EQ(bus.C_Dialog1->fileName(), dir.filePath(QStringLiteral("a.jpg"))) << "a cancel keeps the name";
}
