// Applying the settings file to the windows, in order, and the fixed defaults
// taking over at the step that fails; saving it back.
#include "app/form1.h"
#include "doors/frmset.h"
#include "tests/support/modal.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QRadioButton>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsApply : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir("signs");
        QDir(dir.path()).mkdir("empty");
        QImage sign(20, 10, QImage::Format_RGB32);
        sign.fill(Qt::red);
        sign.save(dir.filePath("signs/a.bmp"));
        QImage board(100, 50, QImage::Format_RGB32);
        board.fill(Qt::blue);
        board.save(dir.filePath("board.bmp"));
        bus.setSettingsPath(dir.filePath("bus.ini"));
    }

    void writeIni(const QByteArray& line)
    {
        QFile f(dir.filePath("bus.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(line);
    }

    QByteArray readIni()
    {
        QFile f(dir.filePath("bus.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A line with every step applicable; parts are replaced per case.
    QByteArray line(const QByteArray& folder = "signs/", const QByteArray& board = "board.bmp",
                    const QByteArray& speeds = "1200,3400", const QByteArray& mode = "2",
                    const QByteArray& shown = "#FALSE#,#TRUE#")
    {
        const QByteArray d = dir.path().toLocal8Bit() + "/";
        return "300,150,600,4800,\"" + d + folder + "\",\"res\",5,-6,\"" + (board.isEmpty() ? "" : d + board) +
               "\",3000,1500," + shown + "," + speeds + "," + mode + "\r\n";
    }

    static void expectDefaults(Form1& b)
    {
        EXPECT_EQ(b.pos(), QPoint(0, 0));
        EXPECT_EQ(b.PicKanban->twRect(), (tw::Rect{7425, 1665, 1410, 450}));
        EXPECT_TRUE(b.PicKanban->picture().isEmpty());
        EXPECT_EQ(b.shpK_Waku[0]->twRect(), (tw::Rect{7350, 1665, 75, 465}));
        EXPECT_EQ(b.panel().HScroll1->value(), 10000);
        EXPECT_EQ(b.panel().HScroll2->value(), 6000);
        EXPECT_TRUE(b.panel().Option1[0]->isChecked());
    }

    QTemporaryDir dir;
    Form1 bus;
};

} // namespace

TEST_F(SettingsApply, NoFileOrAShortOneGivesTheDefaults)
{
    bus.LoadIni();
    expectDefaults(bus);
    EXPECT_TRUE(bus.MnuViewKanban->isChecked() && bus.PicKanban->isVisibleTo(&bus));

    QByteArray shortLine = line();
    shortLine.truncate(shortLine.lastIndexOf(','));
    writeIni(shortLine);
    Form1 other;
    other.setSettingsPath(dir.filePath("bus.ini"));
    other.panel().HScroll1->setValue(77);
    other.LoadIni();
    expectDefaults(other);
    EXPECT_EQ(other.signFolderPath, dir.path() + "/signs/") << "held values keep what was read";
}

TEST_F(SettingsApply, AGoodFileIsAppliedWhole)
{
    writeIni(line());
    bus.LoadIni();
    EXPECT_EQ(bus.pos(), QPoint(20, 10));
    EXPECT_EQ(bus.panel().pos(), QPoint(40, 320));
    EXPECT_FALSE(bus.PicKanban->isVisibleTo(&bus));
    EXPECT_FALSE(bus.MnuViewKanban->isChecked());
    EXPECT_TRUE(bus.MnuViewWaku->isChecked());
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{3000, 1500, 1500, 750}));
    EXPECT_EQ(bus.shpK_Waku[2]->twRect(), (tw::Rect{2925, 2250, 1650, 60})) << "refitted around the picture";
    EXPECT_EQ(bus.panel().HScroll1->value(), 1200);
    EXPECT_EQ(bus.panel().lblNakaSpeed->text(), QStringLiteral("3400"));
    EXPECT_EQ(bus.File1.listCount(), 1);
    EXPECT_EQ(bus.ImgDesiMaku->picture().size, QSize(20, 10));
    EXPECT_TRUE(bus.panel().Option1[2]->isChecked());
    EXPECT_EQ(bus.reservedText, QStringLiteral("res"));
}

TEST_F(SettingsApply, AFailingStepKeepsWhatCameBeforeAndTheDefaultsTakeOver)
{
    const struct {
        const char* what;
        QByteArray line;
        int listCount; // what File1 reached
    } rows[] = {
        {"deleted signboard picture", line("signs/", "gone.bmp"), 0},
        {"signboard file not a picture", line("signs/", "signs"), 0},
        {"speed 0", line("signs/", "board.bmp", "0,3400"), 0},
        {"speed 30001", line("signs/", "board.bmp", "1200,30001"), 0},
        {"speed beyond 16 bits", line("signs/", "board.bmp", "70000,3400"), 0},
        {"folder missing", line("nowhere/"), 0},
        {"folder without pictures", line("empty/"), 0},
        {"mode 3", line("signs/", "board.bmp", "1200,3400", "3"), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        writeIni(row.line);
        Form1 b;
        b.setSettingsPath(dir.filePath("bus.ini"));
        b.LoadIni();
        expectDefaults(b);
        // Applied before the failure, and not overridden by the defaults.
        EXPECT_FALSE(b.MnuViewKanban->isChecked());
        EXPECT_FALSE(b.PicKanban->isVisibleTo(&b));
        EXPECT_EQ(b.File1.listCount(), row.listCount);
        // The held texts keep what was read, and are saved again.
        EXPECT_TRUE(b.kanbanPicturePath.startsWith(dir.path()));
    }
}

TEST_F(SettingsApply, SavingWritesTheLineAndTwiceTheSameBytes)
{
    writeIni(line());
    bus.LoadIni();
    bus.SaveIni();
    const QByteArray first = readIni();
    EXPECT_EQ(first, line()) << "what was read comes back, reserved fields and mode included";
    bus.SaveIni();
    EXPECT_EQ(readIni(), first);

    // A save that cannot be written says so and leaves nothing half-written.
    bus.setSettingsPath(dir.filePath("no/such/folder/bus.ini"));
    QString shown;
    testing_support::whenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    bus.SaveIni();
    EXPECT_FALSE(shown.isEmpty()) << "the system's message was shown";
    EXPECT_EQ(readIni(), first);
}
