// One picture per window instead of a rectangle, caption, colour and font per
// control: each window is rendered offscreen and compared with its reference
// in tests/reference (name@2x.png at device pixel ratio 2), within a small
// tolerance. After a change of look made on purpose, remake them with
//   KURURINA_UPDATE_REFERENCES=1 ctest --test-dir build -R window_pictures
// (which fails, naming the pictures it wrote).
#include "assets/assets.h"
#include "platform/pictures/picture.h"
#include "platform/pictures/tests/picture_samples.h"
#include "tests/support/bus.h"

#include <QMenu>

namespace
{

// Pixels whose colour differs by more than a little, anywhere in the window.
int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            n += std::abs(qRed(p) - qRed(q)) > 24 || std::abs(qGreen(p) - qGreen(q)) > 24 ||
                 std::abs(qBlue(p) - qBlue(q)) > 24;
        }
    return n;
}

void expectLooksLikeItsReference(QWidget& w, const QString& name)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal dpr = shot.devicePixelRatio();
    // The ratio the screen was set up for (QT_SCALE_FACTOR): a shot at
    // another would be compared with the wrong reference.
    ASSERT_EQ(dpr, qreal(std::max(1, qEnvironmentVariableIntValue("KURURINA_TEST_DPR"))));
    const QString file = QStringLiteral(KURURINA_SOURCE_DIR "/tests/reference/%1%2.png")
                             .arg(name, dpr > 1 ? QStringLiteral("@2x") : QString());
    // Remade on request; never a pass, so that such a run cannot stand for one.
    if (qEnvironmentVariableIsSet("KURURINA_UPDATE_REFERENCES")) {
        ASSERT_TRUE(shot.save(file)) << file.toStdString();
        ADD_FAILURE() << "remade " << file.toStdString() << ": look at it before committing";
        return;
    }
    const QImage want = QImage(file).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), want.size()) << file.toStdString();
    // To see what changed, remake the reference and compare them.
    EXPECT_LE(differingPixels(shot, want), shot.width() * shot.height() / 2000) << file.toStdString();
}

} // namespace

TEST(WindowPictures, EveryWindowLooksAsLaidOut)
{
    // A steady text cursor, so the folder dialog draws the same every time.
    QApplication::setCursorFlashTime(0);
    Form1 bus;
    // A sign larger than its box is cut off, not squeezed; the signboard takes
    // its picture's size, and the refit frames it.
    bus.ImgDesiMaku->setPicture(platform::pictureFromImage(samples::reference(60, 40)));
    bus.PicKanban->setPicture(platform::pictureFromImage(samples::reference(100, 50, Qt::darkBlue)));
    bus.PicKanban_DblClick();
    bus.Image1[2]->setTwWidth(600); // the front door half open: squeezed, not cut off
    expectLooksLikeItsReference(bus, QStringLiteral("bus"));
    bus.MnuTempMenu1->popup(QPoint());
    expectLooksLikeItsReference(*bus.MnuTempMenu1, QStringLiteral("menu"));
    bus.MnuTempMenu1->hide();
    bus.panel().Check2->setChecked(true); // a ticked switch looks pressed
    expectLooksLikeItsReference(bus.panel(), QStringLiteral("panel"));
    frmBrowseDir folder(bus);
    folder.Text1->setText(QStringLiteral("/home/ユーザー/行先"));
    expectLooksLikeItsReference(folder, QStringLiteral("folder-dialog"));
    folder.hide();
    frmShowVersion version;
    version.Form_Load();
    expectLooksLikeItsReference(version, QStringLiteral("version-box"));
    EXPECT_EQ(version.Label5->cursor().hotSpot(), QPoint(12, 1) * version.devicePixelRatio());
}
