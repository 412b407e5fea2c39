// Applying the settings file to the windows, in order, and the fixed defaults
// taking over at the step that fails; saving it back.
#include "tests/support/bus.h"

// Names as old archives give them: a sign folder in Shift_JIS, a signboard picture in Latin-1.
const QByteArray signs = "\x8d\x73\x90\xe6/", board = "caf\xe9.bmp";

// A sign folder with one 20 x 10 picture, an empty one, a 100 x 50 signboard picture.
struct Folder {
    QTemporaryDir dir;
    Folder()
    {
        QDir(dir.path()).mkpath("empty");
        ::mkdir((QFile::encodeName(dir.path()) + "/" + signs).constData(), 0755);
        testing_support::writeBmp(dir.filePath(platform::decodePath(signs + "\x82\xa0.bmp")), 20, 10);
        testing_support::writeBmp(dir.filePath(platform::decodePath(board)), 100, 50);
    }
    QString ini() const { return dir.filePath("bus.ini"); }
    // A line with every step applicable, the speeds at the bars' ends; parts are replaced per case.
    QByteArray line(const QByteArray& folder = signs, const QByteArray& board = ::board,
                    const QByteArray& speeds = "30000,1", const QByteArray& mode = "2") const
    {
        const QByteArray d = dir.path().toLocal8Bit() + "/";
        return "300,150,600,4800,\"" + d + folder + "\",\"res\",5,-6,\"" + d + board +
               "\",3000,1500,#FALSE#,#TRUE#," + speeds + "," + mode + "\r\n";
    }
};

// A good file is applied whole and saved back byte for byte. Whatever fails,
// the defaults take over the positions, signboard, speeds and mode; what was
// applied before the failure stays, and so do the held texts.
TEST(SettingsApply, AGoodFileIsAppliedWholeAFailingStepKeepsWhatCameBeforeAndTheDefaultsTakeOver)
{
    Folder f;
    testing_support::writeFile(f.ini(), f.line());
    Form1 bus;
    bus.setSettingsPath(f.ini());
    bus.Form_Load(); // the program's start: the file, then both windows shown
    EXPECT_TRUE(bus.pos() == QPoint(20, 10) && bus.panel().pos() == QPoint(40, 320) &&
                bus.panel().isVisible());
    EXPECT_TRUE(!bus.PicKanban->isVisibleTo(&bus) && !bus.MnuViewKanban->isChecked());
    EXPECT_TRUE(bus.MnuViewWaku->isChecked() && bus.shpK_Waku[1]->isVisible());
    EXPECT_EQ(bus.PicKanban->twRect(), (tw::Rect{3000, 1500, 1500, 750}));
    EXPECT_EQ(bus.shpK_Waku[2]->twRect(), (tw::Rect{2925, 2250, 1650, 60})) << "refitted around the picture";
    EXPECT_TRUE(bus.panel().lblMaeSpeed->text() == "30000" && bus.panel().lblNakaSpeed->text() == "1");
    EXPECT_TRUE(bus.ImgDesiMaku->picture().size == QSize(20, 10) && bus.panel().Option1[2]->isChecked());
    bus.SaveIni();
    EXPECT_EQ(testing_support::readFile(f.ini()), f.line())
        << "what was read comes back, reserved fields and mode included";
    QByteArray fifteen = f.line();
    fifteen.truncate(fifteen.lastIndexOf(','));
    // What fails, the file's content (null: no file), whether the signboard's
    // visibility was applied before, and how many pictures File1 reached.
    const std::tuple<const char*, QByteArray, bool, int> rows[] = {
        {"no file", QByteArray(), false, 0},
        {"15 fields", fifteen, false, 0},
        {"deleted signboard picture", f.line(signs, "gone.bmp"), true, 0},
        {"speed 0", f.line(signs, board, "0,3400"), true, 0},
        {"speed 30001", f.line(signs, board, "1200,30001"), true, 0},
        {"speed beyond 16 bits", f.line(signs, board, "70000,3400"), true, 0},
        {"folder missing", f.line("nowhere/"), true, 0},
        {"folder without pictures", f.line("empty/"), true, 0},
        {"mode 3", f.line(signs, board, "1200,3400", "3"), true, 1},
    };
    for (const auto& [what, content, boardShownApplied, listCount] : rows) {
        SCOPED_TRACE(what);
        QFile::remove(f.ini());
        if (!content.isNull())
            testing_support::writeFile(f.ini(), content);
        Form1 b;
        b.setSettingsPath(f.ini());
        b.panel().HScroll1->setValue(77);
        b.LoadIni();
        EXPECT_EQ(b.pos(), QPoint(0, 0));
        EXPECT_TRUE(b.PicKanban->twRect() == (tw::Rect{7425, 1665, 1410, 450}) &&
                    b.PicKanban->picture().isEmpty());
        EXPECT_EQ(b.shpK_Waku[0]->twRect(), (tw::Rect{7350, 1665, 75, 465}));
        EXPECT_TRUE(b.panel().HScroll1->value() == 10000 && b.panel().HScroll2->value() == 6000);
        EXPECT_TRUE(b.panel().Option1[0]->isChecked());
        EXPECT_TRUE(b.MnuViewKanban->isChecked() != boardShownApplied &&
                    b.PicKanban->isVisibleTo(&b) != boardShownApplied);
        EXPECT_EQ(b.File1.listCount(), listCount);
        // The held texts keep what was read, and are saved again.
        EXPECT_TRUE(content.isNull() || b.kanbanPicturePath.startsWith(f.dir.path()));
    }
}
