// The platform's choice, the sign list's matching, order and failure kinds,
// the settings file's place and safe replacement, and where windows may stand.
#include "platform/app_init.h"
#include "platform/atomic_file.h"
#include "platform/file_list.h"
#include "platform/native_path.h"
#include "platform/screen_place.h"
#include "platform/settings_location.h"
#include "tests/support/files.h"
#include "tests/support/ordinary_user.h"

#include <fcntl.h>

using testing_support::link;
using testing_support::writeFile;

// Under X11 (and XWayland) Qt's xcb platform, unless the user chose one.
TEST(AppInit, PicksXcbOnlyWhenNoPlatformIsChosen)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {nullptr, ":1", "xcb"}, {"offscreen", ":1", "offscreen"}, {nullptr, nullptr, nullptr}};
    for (const auto& [chosen, display, want] : rows) {
        chosen ? qputenv("QT_QPA_PLATFORM", chosen) : qunsetenv("QT_QPA_PLATFORM");
        display ? qputenv("DISPLAY", display) : qunsetenv("DISPLAY");
        platform::prepareApplication();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray(want)) << (chosen ? chosen : "none");
    }
}

// A window 666 x 234 with a 20-pixel title bar, on screen layouts: kept where
// a quarter of it and half its title bar's height show on one screen (half
// off an edge too), else moved as little as it takes wholly onto the nearest
// screen that can hold it; of screens it overlaps, the one holding most of it.
TEST(ReachablePlace, KeptWhereItCanBeSeenAndGrabbedElseWhollyOnTheNearestScreen)
{
    const std::vector<QRect> one{{0, 0, 1280, 1024}}, side{{0, 0, 1280, 1024}, {1280, 0, 1280, 1024}},
        heights{{0, 0, 1920, 1200}, {1920, 0, 1280, 1024}}, uneven{{0, 0, 1280, 1024}, {1280, 0, 1280, 600}},
        narrow{{0, 0, 1280, 1024}, {1280, 0, 640, 1200}}, offset{{0, 0, 1280, 1024}, {1580, 500, 1280, 1024}},
        topPanel{{0, 30, 1280, 994}}, small{{0, 0, 400, 200}};
    // Layout, saved top-left, where it goes (the same: it stays).
    const std::tuple<const char*, std::vector<QRect>, QPoint, QPoint> rows[] = {
        {"inside", one, {100, 100}, {100, 100}},
        {"half off the left edge", one, {-333, 400}, {-333, 400}},
        {"half off the right edge", one, {947, 400}, {947, 400}},
        {"a quarter shows below", one, {100, 1024 - 59}, {100, 1024 - 59}},
        {"less than a quarter shows below", one, {100, 1024 - 58}, {100, 790}},
        {"half the title bar above the top", one, {100, -10}, {100, -10}},
        {"less of the title bar above the top", one, {100, -11}, {100, 0}},
        {"the title bar under a top panel", topPanel, {100, 15}, {100, 30}},
        {"beyond the left edge", one, {-700, 400}, {0, 400}},
        {"beyond the right edge", one, {1300, 400}, {614, 400}},
        {"beyond the top", one, {100, -300}, {100, 0}},
        {"beyond the bottom", one, {100, 1100}, {100, 790}},
        {"beyond the top-left corner", one, {-700, -300}, {0, 0}},
        {"beyond the top-right corner", one, {1300, -300}, {614, 0}},
        {"beyond the bottom-left corner", one, {-700, 1100}, {0, 790}},
        {"beyond the bottom-right corner", one, {3000, 2000}, {614, 790}},
        {"across two screens", side, {1000, 400}, {1000, 400}},
        {"on the second screen", side, {2000, 400}, {2000, 400}},
        {"the second screen gone", one, {2000, 400}, {614, 400}},
        {"beyond the second screen", side, {2600, 400}, {1894, 400}},
        {"below the lower screen, nearer to it", heights, {2000, 1100}, {2000, 790}},
        {"below the lower screen, nearer to the other", heights, {1700, 1300}, {1254, 966}},
        {"mostly outside where two screens meet", uneven, {1200, 550}, {1280, 366}},
        {"above a lower screen, nearer to it than to the other's side", offset, {1600, 166}, {1600, 500}},
        {"beyond a screen narrower than it", narrow, {2100, 300}, {614, 300}},
        {"larger than the screen", small, {1000, 1000}, {0, 0}},
        {"no screens", {}, {5000, 5000}, {5000, 5000}},
    };
    for (const auto& [what, screens, saved, want] : rows)
        EXPECT_EQ(platform::reachablePlace({saved, QSize(666, 234)}, 20, screens),
                  QRect(want, QSize(666, 234)))
            << what;
    EXPECT_EQ(platform::reachablePlace({{100, -100}, QSize(666, 234)}, 0, one).topLeft(), QPoint(100, -100))
        << "no title bar: a quarter of it is enough";
    EXPECT_EQ(platform::reachablePlace({{-300, 100}, QSize(400, 200)}, 0, one).topLeft(), QPoint(-300, 100))
        << "exactly a quarter shows";
}

// Pictures by extension in any case, in case-ignoring name order; no hidden
// files, folders, FIFOs or links that lead nowhere, into a loop or to a folder.
TEST(FileList, MatchesInNameOrderAndSkipsTheRest)
{
    QTemporaryDir dir;
    // Names from old archives too: Shift_JIS, Latin-1, lone bytes; they sort after the others.
    for (const char* n : {"b.bmp", "A.gif", "c.JPG", "ROUTE1.JPG", "route2.Gif", "route3.png", "route4.jpe",
                          ".hidden.bmp", "x.jpeg", "m.WMF", "n.emf", "bmp", ".bmp", "\x8d\x73\x90\xe6.bmp",
                          "caf\xe9.jpg", "\xff.gif", "\xfe.gif", "行先.bmp"})
        writeFile(dir.filePath(platform::decodePath(n)), {});
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    for (const auto& [target, name] : {std::pair{"/nonexistent/target.bmp", "broken.bmp"},
                                       {"b.bmp", "link.bmp"},
                                       {"loop2.bmp", "loop1.bmp"},
                                       {"loop1.bmp", "loop2.bmp"},
                                       {".", "deep.jpg"}})
        link(target, dir.filePath(name));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("sign.bmp")).constData(), 0600), 0);

    platform::FileList list(QStringLiteral("*.bmp;*.wmf;*.emf;*.gif;*.jpg;*.jpeg"));
    ASSERT_TRUE(list.setPath(dir.path()));
    QStringList got;
    for (std::int16_t i = 0; i < list.listCount(); ++i)
        got << *list.list(i);
    QStringList want;
    for (const char* n :
         {"A.gif", "b.bmp", "c.JPG", "caf\xe9.jpg", "link.bmp", "m.WMF", "n.emf", "ROUTE1.JPG", "route2.Gif",
          "x.jpeg", "行先.bmp", "\x8d\x73\x90\xe6.bmp", "\xfe.gif", "\xff.gif"})
        want << platform::decodePath(n);
    EXPECT_EQ(got, want);
    // What Qt's dialogs make of such a name leads back to the file, unless two names look the same there.
    const QByteArray sjis = QFile::encodeName(dir.path()) + "/\x8d\x73\x90\xe6.bmp";
    EXPECT_EQ(platform::pathOnDisk(QFile::decodeName(sjis)), platform::decodePath(sjis));
    const QString twins = dir.filePath(QFile::decodeName("\xff.gif"));
    EXPECT_EQ(platform::pathOnDisk(twins), twins);
    EXPECT_TRUE(!list.list(-1) && !list.list(list.listCount()));

    // The failures' kinds are seen through the folder dialog; an empty path lists nothing.
    EXPECT_TRUE(list.setPath(QString()) && list.listCount() == 0);
}

// Any bytes come back as they were; valid UTF-8 reads as UTF-8, U+10000 and
// above as two halves.
TEST(NativePath, NamesInAnyEncodingRoundTrip)
{
    const std::pair<const char*, bool> rows[] = {{"route.bmp", true},
                                                 {"行先.bmp", true},
                                                 {"\xf0\x90\x80\x80.bmp", true},
                                                 {"\x8d\x73\x90\xe6", false},
                                                 {"caf\xe9", false},
                                                 {"\xff", false},
                                                 {"\xed\xb2\x80", false} /* a surrogate */,
                                                 {"\xc0\xaf", false} /* overlong */,
                                                 {"\xe3\x81", false} /* cut short */,
                                                 {"\xf4\x90\x80\x80", false} /* past U+10FFFF */};
    for (const auto& [bytes, utf8] : rows) {
        const QString s = platform::decodePath(bytes);
        EXPECT_TRUE(platform::encodePath(s) == bytes && (s == QString::fromUtf8(bytes)) == utf8) << bytes;
    }
}

// The count is a 16-bit number: a folder with more pictures lists the first
// 32767 in name order, quickly.
TEST(FileList, MoreThan32767FilesListTheFirst32767)
{
    QTemporaryDir dir;
    for (int i = 0; i < 33000; ++i)
        ::close(
            ::open(QFile::encodeName(dir.filePath(QStringLiteral("p%1.jpg").arg(i, 6, 10, QLatin1Char('0')))),
                   O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    platform::FileList list(QStringLiteral("*.jpg"));
    EXPECT_LT(testing_support::secondsOf([&] { ASSERT_TRUE(list.setPath(dir.path())); }), 3);
    EXPECT_TRUE(list.listCount() == 32767 && *list.list(32766) == QStringLiteral("p032766.jpg"));
}

// Whole or not at all: the mode kept, nothing left beside the file on a
// failure, and a linked settings file stays a link while its target changes.
TEST(ReplaceFile, ReplacesWholeThroughLinksOrLeavesEverythingAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dotfiles/bus.ini");
    QDir(dir.path()).mkdir("dotfiles");
    EXPECT_TRUE(platform::replaceFile(path, "first"));
    ::chmod(QFile::encodeName(path).constData(), 0600);
    for (const auto& [target, name] : {std::pair{"dotfiles/bus.ini", "relative.ini"},
                                       {"relative.ini", "chain.ini"},
                                       {"dotfiles/new.ini", "dangling.ini"},
                                       {"loop.ini", "loop.ini"}})
        link(target, dir.filePath(name));
    QDir(dir.path()).mkdir("folder.ini");

    EXPECT_TRUE(platform::replaceFile(dir.filePath("chain.ini"), "second") &&
                testing_support::readFile(path) == "second");
    struct stat st {
    };
    EXPECT_TRUE(::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & 0777) == 0600);
    EXPECT_TRUE(platform::replaceFile(dir.filePath("dangling.ini"), "created") &&
                testing_support::readFile(dir.filePath("dotfiles/new.ini")) == "created");
    for (const char* bad : {"loop.ini", "folder.ini", "missing/c.ini"})
        EXPECT_FALSE(platform::replaceFile(dir.filePath(bad), "x").error_or(QString()).isEmpty()) << bad;
    for (const char* l : {"relative.ini", "chain.ini", "dangling.ini", "loop.ini"})
        EXPECT_TRUE(QFileInfo(dir.filePath(l)).isSymLink()) << l;
    EXPECT_EQ(QDir(dir.filePath("dotfiles")).entryList(QDir::Files), (QStringList{"bus.ini", "new.ini"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 4) << "temporary files left";
}

// A file the user may not write stays as it was, with the system's words,
// even in a folder he may write.
TEST(ReplaceFile, LeavesAFileWithoutWritePermission)
{
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    const QString path = dir.filePath("bus.ini");
    ASSERT_TRUE(platform::replaceFile(path, "old"));
    ::chmod(QFile::encodeName(path).constData(), 0444);
    testing_support::asOrdinaryUser([&] {
        EXPECT_EQ(platform::replaceFile(path, "new").error_or(QString()),
                  QString::fromLocal8Bit(std::strerror(EACCES)));
    });
    EXPECT_EQ(testing_support::readFile(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"bus.ini"}));
}

// Beside the program wherever the user may write its folder; else the user's
// own file, read from beside the program until it exists.
TEST(SettingsLocation, BesideTheProgramOrInTheUsersConfigFolder)
{
    const QString beside = "/opt/bus/bus.ini", own = "/home/u/.config/kururina/bus.ini";
    // Folder writable, XDG_CONFIG_HOME, HOME, whether the user's own file exists; the files read and written.
    const std::tuple<bool, const char*, const char*, bool, QString, QString> rows[] = {
        {true, "/cfg", "/home/u", true, beside, beside},
        {false, "", "/home/u", false, beside, own},
        {false, "", "/home/u", true, own, own},
        {false, "/cfg", "/home/u", true, "/cfg/kururina/bus.ini", "/cfg/kururina/bus.ini"},
        {false, "cfg", "/home/u", false, beside, own},
        {false, "", "home/u", true, beside, beside},
    };
    for (const auto& [writable, config, home, ownExists, read, write] : rows) {
        const auto exists = [mine = ownExists](const QString& p) {
            return mine && p.endsWith("kururina/bus.ini");
        };
        const auto files = platform::chooseSettingsFiles({"/opt/bus", "bus", writable, config, home}, exists);
        EXPECT_TRUE(files.read == read && files.write == write) << writable << config << home << ownExists;
    }
}
