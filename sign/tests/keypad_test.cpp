// The arrow keys on the sign and the number keypad on the panel, pressed as
// the user presses them.
#include "tests/support/bus.h"

// Each row is a script of presses: digits and C on the keypad, S for "設定",
// v and ^ for Down and Up on the sign. Picture i of the folder is 10 + i
// pixels wide, so the sign's width tells which it shows (-1: the built-in
// one). Each row starts afresh: position 0, a folder path without its
// separator, and a folder of 15 pictures (the one at 5 broken) unless the row
// empties it.
TEST(Keypad, EntryRulesAndStepping)
{
    QTemporaryDir tmp;
    const QString folder = tmp.path() + "/signs", none = tmp.path() + "/none";
    QDir().mkpath(folder);
    QDir().mkpath(none);
    for (int i = 0; i < 15; ++i)
        testing_support::writeBmp(folder + QStringLiteral("/p%1.bmp").arg(i, 2, 10, QLatin1Char('0')),
                                  10 + i);
    testing_support::writeFile(folder + "/p05.bmp", "BM broken"); // no picture at position 5
    // What the row proves, the presses, then the entry shown, the picture shown and the
    // position; empty: stepping through a folder without pictures.
    const struct {
        const char *proves, *presses, *display;
        int shown, position;
        bool empty = false;
    } rows[] = {
        {"an empty entry is position 0", "S", "", 0, 0},
        {"leading zeros do not count", "000012S", "000012", 12, 0},
        {"a seventh digit is ignored", "1234567", "123456", -1, 0},
        {"C clears, the next digit starts anew", "12C3S", "3", 3, 0},
        {"above 32767 shows nothing", "65546S", "65546", -1, 0}, // 10 if cut to 16 bits
        {"the last picture", "14S", "14", 14, 0},
        {"past the end shows nothing", "15S", "15", -1, 0},
        {"設定 keeps the entry and shows it again", "4SvS", "4", 4, 1},
        {"stepping goes on from its own position", "vvvvvvv2Sv", "2", 8, 8},
        {"Up at the first picture does nothing", "^", "", -1, 0},
        {"Down stops at the last picture", "vvvvvvvvvvvvvvvvvv", "", 14, 14},
        {"without pictures Down climbs and Up walks back", "vvv^", "", -1, 2, true},
        {"a broken picture is passed over, the sign keeps the last", "vvvvv", "", 4, 5},
        {"the next Down goes on past it", "vvvvvv", "", 6, 6},
        {"the keypad on a broken picture shows nothing", "5S", "5", -1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.proves);
        Form1 bus;
        frmSet& panel = bus.panel();
        bus.signFolderPath = row.empty ? none : folder;
        ASSERT_TRUE(bus.picDir());
        for (const char* p = row.presses; *p; ++p) {
            if (*p == 'v' || *p == '^')
                bus.Picture1_KeyDown(*p == 'v' ? sign::vkDown : sign::vkUp, 0);
            else
                panel.Command2[*p == 'C' ? 10 : *p == 'S' ? 11 : *p - '0']->click();
        }
        const int width = bus.ImgDesiMaku->picture().size.width();
        EXPECT_EQ(panel.Label1->text(), QString::fromUtf8(row.display));
        EXPECT_EQ(width == 52 ? -1 : width - 10, row.shown);
        EXPECT_EQ(bus.signStepper.position(), row.position);
        const bool completes = std::string_view(row.presses).find_first_of("Sv^") != std::string_view::npos;
        EXPECT_EQ(bus.signFolderPath, (row.empty ? none : folder) + (completes ? "/" : ""));
    }
}

// The sign counts its pictures in 16 bits: of a folder of 32768 pictures the
// bus's list holds the first 32767 in name order, quickly.
TEST(Keypad, AFolderOfMorePicturesThanTheSignCountsListsTheFirst32767)
{
    QTemporaryDir dir;
    for (int i = 0; i <= 32767; ++i)
        testing_support::writeFile(dir.filePath(QStringLiteral("p%1.jpg").arg(i, 6, 10, QLatin1Char('0'))),
                                   {});
    Form1 bus;
    bus.signFolderPath = dir.path();
    EXPECT_LT(testing_support::secondsOf([&] { ASSERT_TRUE(bus.picDir()); }), 3);
    EXPECT_EQ(bus.File1.listCount(), 32767);
    EXPECT_EQ(bus.File1.list(32766), QStringLiteral("p032766.jpg"));
}
