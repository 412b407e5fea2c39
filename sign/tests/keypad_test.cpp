// The number keypad on the panel, pressed through its buttons, together with
// the arrow keys on the sign.
#include "app/form1.h"
#include "doors/frmset.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

constexpr int pictures = 15;
constexpr int builtIn = -1;

// Picture i of the folder is 10 + i pixels wide, so the sign's width tells
// which one it shows; the built-in sign is 52 wide.
int shownIndex(const Form1& bus)
{
    const int w = bus.ImgDesiMaku->picture().size.width();
    return w == 52 ? builtIn : w - 10;
}

} // namespace

// A row is a script of presses: digits and C on the keypad, S for "設定",
// v and ^ for the Down and Up keys on the sign. Each row starts afresh:
// position 0, the built-in sign, a folder path without its separator.
TEST(Keypad, EntryRulesAndTheirInterplayWithStepping)
{
    QTemporaryDir tmp;
    const QString folder = tmp.path() + "/signs";
    ASSERT_TRUE(QDir().mkpath(folder));
    for (int i = 0; i < pictures; ++i) {
        QImage img(10 + i, 4, QImage::Format_RGB32);
        img.fill(Qt::darkBlue);
        ASSERT_TRUE(img.save(folder + QStringLiteral("/p%1.bmp").arg(i, 2, 10, QLatin1Char('0'))));
    }

    const struct {
        const char* proves;
        const char* presses;
        const char* display;
        int shown;
        int position;
    } rows[] = {
        {"an empty entry is position 0", "S", "", 0, 0},
        {"leading zeros do not count", "000012S", "000012", 12, 0},
        {"a seventh digit is ignored", "1234567", "123456", builtIn, 0},
        {"six digits above 32767 show nothing", "1234567S", "123456", builtIn, 0},
        {"C clears, the next digit starts anew", "12C3S", "3", 3, 0},
        {"C on an empty entry", "CS", "", 0, 0},
        {"above 32767 shows nothing", "99999S", "99999", builtIn, 0},
        {"the last picture", "14S", "14", 14, 0},
        {"past the end shows nothing", "15S", "15", builtIn, 0},
        {"the largest position, no such entry", "32767S", "32767", builtIn, 0},
        {"設定 keeps the entry and shows it again", "4SvS", "4", 4, 1},
        {"stepping goes on from its own position", "vvvvvvv2Sv", "2", 8, 8},
        {"the keypad does not move the position", "3S^", "3", 3, 0},
        {"digits alone show nothing", "7", "7", builtIn, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.proves);
        Form1 bus;
        frmSet& panel = bus.panel();
        bus.signFolderPath = folder;
        ASSERT_TRUE(bus.picDir());
        bool completes = false;
        for (const char* p = row.presses; *p; ++p) {
            switch (*p) {
            case 'C':
                panel.Command2[10]->click();
                break;
            case 'S':
                panel.Command2[11]->click();
                completes = true;
                break;
            case 'v':
            case '^':
                bus.Picture1_KeyDown(*p == 'v' ? sign::vkDown : sign::vkUp, 0);
                completes = true;
                break;
            default:
                panel.Command2[*p - '0']->click();
            }
        }
        EXPECT_EQ(panel.Label1->text(), QString::fromUtf8(row.display));
        EXPECT_EQ(shownIndex(bus), row.shown);
        EXPECT_EQ(bus.signStepper.position(), row.position);
        EXPECT_EQ(bus.signFolderPath, completes ? folder + u'/' : folder);
    }

    // Typed keys do not reach the entry.
    Form1 bus;
    frmSet& panel = bus.panel();
    panel.Command2[5]->click();
    for (Qt::Key k : {Qt::Key_1, Qt::Key_Delete, Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(&panel, k);
    EXPECT_EQ(panel.Label1->text(), QStringLiteral("5"));
}
