// Twips and the file list: the one conversion to pixels and the sign list's
// matching, order and failure kinds.
#include "platform/atomic_file.h"
#include "platform/file_list.h"
#include "platform/twips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(Twips, PixelEdgesFollowTheTwipEdges)
{
    EXPECT_EQ(tw::toPixels(1095.0f), 73);
    EXPECT_EQ(tw::toPixels(70.0f), 5);     // 4.67 px
    EXPECT_EQ(tw::toPixels(-1100.0f), -73); // 73.3 px to the left
    EXPECT_EQ(tw::toPixels(-7.5f * 15), -8) << "halves round away from zero, symmetric with 8";
    EXPECT_EQ(tw::toPixels(7.5f * 15), 8);
    // Two rectangles sharing an edge in twips share it in pixels.
    const QRect a = tw::toPixels(tw::Rect{7395, 1710, 75, 465});
    const QRect b = tw::toPixels(tw::Rect{7470, 1710, 1410, 450});
    EXPECT_EQ(a.right() + 1, b.left());
    EXPECT_EQ(tw::toPixels(tw::Rect{0, 0, 9960, 3195}).size(), QSize(664, 213));
}

namespace {
void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}
} // namespace

TEST(FileList, MatchesCaseInsensitivelyInNameOrderAndSkipsTheRest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* n : {"b.bmp", "A.gif", "c.JPG", "ROUTE1.JPG", "route2.Gif", "route3.png", "route4.jpe",
                          ".hidden.bmp", "x.jpeg", "m.WMF", "n.emf", "bmp", ".bmp"})
        touch(dir.filePath(QString::fromLatin1(n)));
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    ASSERT_EQ(::symlink("/nonexistent/target.bmp", QFile::encodeName(dir.filePath("broken.bmp")).constData()), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("b.bmp")).constData(),
                        QFile::encodeName(dir.filePath("link.bmp")).constData()),
              0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("sign.bmp")).constData(), 0600), 0);

    platform::FileList list(QStringLiteral("*.bmp;*.wmf;*.emf;*.gif;*.jpg;*.jpeg"));
    ASSERT_EQ(list.setPath(dir.path()).result, platform::FileList::Result::Ok);
    QStringList got;
    for (std::int16_t i = 0; i < list.listCount(); ++i)
        got << *list.list(i);
    EXPECT_EQ(got, (QStringList{"A.gif", "b.bmp", "c.JPG", "link.bmp", "m.WMF", "n.emf", "ROUTE1.JPG",
                                "route2.Gif", "x.jpeg"}));
    EXPECT_FALSE(list.list(-1));
    EXPECT_FALSE(list.list(list.listCount()));
}

TEST(FileList, FailuresKeepTheOldEntries)
{
    QTemporaryDir dir;
    touch(dir.filePath("a.bmp"));
    touch(dir.filePath("plain.txt"));
    platform::FileList list(QStringLiteral("*.bmp"));
    ASSERT_EQ(list.setPath(dir.path()).result, platform::FileList::Result::Ok);
    ASSERT_EQ(list.listCount(), 1);

    // A file where a folder should be is as missing as no entry at all.
    for (const char* p : {"missing", "plain.txt", "plain.txt/x"})
        EXPECT_EQ(list.setPath(dir.filePath(p)).result, platform::FileList::Result::NotFound) << p;
    const auto tooLong = list.setPath(dir.filePath(QString(300, u'x')));
    EXPECT_EQ(tooLong.result, platform::FileList::Result::Failed);
    EXPECT_FALSE(tooLong.message.isEmpty()) << "the system's description of the error";
    EXPECT_EQ(list.listCount(), 1);
    EXPECT_EQ(list.path(), dir.path());

    // An empty path lists nothing, successfully.
    EXPECT_EQ(list.setPath(QString()).result, platform::FileList::Result::Ok);
    EXPECT_EQ(list.listCount(), 0);
}

TEST(ReplaceFile, ReplacesWholeKeepsModeAndLeavesNothingBehindOnFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    EXPECT_TRUE(platform::replaceFile(path, "first\r\n").isEmpty());
    ::chmod(QFile::encodeName(path).constData(), 0600);
    EXPECT_TRUE(platform::replaceFile(path, "second\r\n").isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("second\r\n"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // The target is a folder: the rename fails, the system says why, no temporary file stays.
    QDir(dir.path()).mkdir("b.ini");
    EXPECT_FALSE(platform::replaceFile(dir.filePath("b.ini"), "x").isEmpty());
    EXPECT_FALSE(platform::replaceFile(dir.filePath("missing/c.ini"), "x").isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), (QStringList{"a.ini", "b.ini"}));
}

namespace {
QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

// Settings kept in a dotfiles folder and linked beside the program: the link
// stays, its target gets the new line, and nothing is left beside either.
TEST(ReplaceFile, WritesThroughLinks)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("dotfiles");
    const QString target = dir.filePath("dotfiles/bus.ini");
    ASSERT_TRUE(platform::replaceFile(target, "old").isEmpty());
    ASSERT_TRUE(QFile::link("dotfiles/bus.ini", dir.filePath("relative.ini")));
    ASSERT_TRUE(QFile::link(dir.filePath("relative.ini"), dir.filePath("chain.ini")));
    ASSERT_TRUE(QFile::link(dir.filePath("dotfiles/new.ini"), dir.filePath("dangling.ini")));
    ASSERT_TRUE(QFile::link("loop.ini", dir.filePath("loop.ini")));

    EXPECT_TRUE(platform::replaceFile(dir.filePath("chain.ini"), "new").isEmpty());
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_TRUE(platform::replaceFile(dir.filePath("dangling.ini"), "created").isEmpty());
    EXPECT_EQ(contentOf(dir.filePath("dotfiles/new.ini")), "created");
    EXPECT_FALSE(platform::replaceFile(dir.filePath("loop.ini"), "x").isEmpty());
    for (const char* link : {"relative.ini", "chain.ini", "dangling.ini", "loop.ini"})
        EXPECT_TRUE(QFileInfo(dir.filePath(link)).isSymLink()) << link;
    EXPECT_EQ(QDir(dir.filePath("dotfiles")).entryList(QDir::Files), (QStringList{"bus.ini", "new.ini"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 4);
}

// A file the user may not write stays as it was, with the system's words,
// even in a folder he may write. The superuser may write anything, so the
// check runs as an ordinary user.
TEST(ReplaceFile, LeavesAFileWithoutWritePermission)
{
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    const QString path = dir.filePath("bus.ini");
    ASSERT_TRUE(platform::replaceFile(path, "old").isEmpty());
    ::chmod(QFile::encodeName(path).constData(), 0444);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(platform::replaceFile(path, "new") == QString::fromLocal8Bit(std::strerror(EACCES)) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not become an ordinary user";
    EXPECT_EQ(contentOf(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"bus.ini"}));
}
