// The platform's choice, the sign list's matching, order and failure kinds,
// the settings file's place and safe replacement.
#include "platform/core/native_path.h"
#include "platform/files/app_init.h"
#include "platform/files/atomic_file.h"
#include "platform/files/file_list.h"
#include "platform/files/settings_location.h"
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
    QByteArrayList got;
    for (std::int16_t i = 0; i < list.listCount(); ++i)
        got << platform::encodePath(*list.list(i));
    EXPECT_EQ(got, (QByteArrayList{"A.gif", "b.bmp", "c.JPG", "caf\xe9.jpg", "link.bmp", "m.WMF", "n.emf",
                                   "ROUTE1.JPG", "route2.Gif", "x.jpeg", "行先.bmp", "\x8d\x73\x90\xe6.bmp",
                                   "\xfe.gif", "\xff.gif"}));
    // What Qt's dialogs make of such a name leads back to the file, unless two names look the same there.
    const QByteArray sjis = QFile::encodeName(dir.path()) + "/\x8d\x73\x90\xe6.bmp";
    EXPECT_EQ(platform::pathOnDisk(QFile::decodeName(sjis)), platform::decodePath(sjis));
    const QString twins = dir.filePath(QFile::decodeName("\xff.gif"));
    EXPECT_EQ(platform::pathOnDisk(twins), twins);
    EXPECT_TRUE(!list.list(-1) && !list.list(list.listCount()));

    // The failures' kinds are seen through the folder dialog; an empty path lists nothing.
    EXPECT_TRUE(list.setPath(QString()) && list.listCount() == 0);
}

// Whole or not at all: the mode kept, nothing left beside the file on a
// failure, and a linked settings file stays a link while its target changes.
// A file the user may not write stays as it was, with the system's words,
// even in a folder he may write.
TEST(ReplaceFile, ReplacesWholeThroughLinksOrLeavesEverythingAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dotfiles/bus.ini"), readOnly = dir.filePath("read-only.ini");
    QDir(dir.path()).mkdir("dotfiles");
    EXPECT_TRUE(platform::replaceFile(path, "first") && platform::replaceFile(readOnly, "old"));
    ::chmod(QFile::encodeName(path).constData(), 0600);
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    for (const auto& [target, name] : {std::pair{"dotfiles/bus.ini", "relative.ini"},
                                       {"relative.ini", "chain.ini"},
                                       {"dotfiles/new.ini", "dangling.ini"},
                                       {"loop.ini", "loop.ini"}})
        link(target, dir.filePath(name));
    QDir(dir.path()).mkdir("folder.ini");

    EXPECT_TRUE(platform::replaceFile(dir.filePath("chain.ini"), "second") &&
                testing_support::readFile(path) == "second");
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_TRUE(platform::replaceFile(dir.filePath("dangling.ini"), "created") &&
                testing_support::readFile(dir.filePath("dotfiles/new.ini")) == "created");
    for (const char* bad : {"loop.ini", "folder.ini", "missing/c.ini"})
        EXPECT_FALSE(platform::replaceFile(dir.filePath(bad), "x").error_or(QString()).isEmpty()) << bad;
    testing_support::asOrdinaryUser([&] {
        EXPECT_EQ(platform::replaceFile(readOnly, "new").error_or(QString()),
                  QString::fromLocal8Bit(std::strerror(EACCES)));
    });
    EXPECT_EQ(testing_support::readFile(readOnly), "old");
    for (const char* l : {"relative.ini", "chain.ini", "dangling.ini", "loop.ini"})
        EXPECT_TRUE(QFileInfo(dir.filePath(l)).isSymLink()) << l;
    EXPECT_EQ(QDir(dir.filePath("dotfiles")).entryList(QDir::Files), (QStringList{"bus.ini", "new.ini"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 5) << "temporary files left";
}

// Beside the program wherever the user may write its folder; else the user's
// own file, read from beside the program until it exists.
TEST(SettingsLocation, BesideTheProgramOrInTheUsersConfigFolder)
{
    const QString beside = "/opt/bus/bus.ini", own = "/home/u/.config/kururina/bus.ini";
    // Folder writable, XDG_CONFIG_HOME, HOME, whether the user's own file exists; the files read and written.
    const std::tuple<bool, const char*, const char*, bool, QString, QString> rows[] = {
        {true, "/cfg", "/home/u", true, beside, beside},
        {false, "", "/home/u", true, own, own},
        {false, "/cfg", "/home/u", true, "/cfg/kururina/bus.ini", "/cfg/kururina/bus.ini"},
        {false, "cfg", "/home/u", false, beside, own},
        {false, "", "home/u", true, beside, beside},
    };
    for (const auto& [writable, config, home, ownExists, read, write] : rows) {
        const auto exists = [mine = ownExists](const QString& p) {
            return mine && p.endsWith("kururina/bus.ini");
        };
        const auto files =
            platform::chooseSettingsFiles({"/opt/bus", "bus", writable, config, home, "kururina"}, exists);
        EXPECT_TRUE(files.read == read && files.write == write) << writable << config << home << ownExists;
    }
}
