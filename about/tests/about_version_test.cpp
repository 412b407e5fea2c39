// The version box: its layout, how it opens and closes, the designation of a
// renamed executable, and the maker's library when it is there, missing or
// incomplete.
#include "about/frmshowversion.h"
#include "about/maker_link.h"
#include "app/form1.h"
#include "assets/assets.h"
#include "platform/exe_info.h"
#include "platform/twip_widgets.h"
#include "tests/support/modal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

using testing_support::whenModal;

const QString reportRequest = QStringLiteral(" 上記内容をカナロHP関係者まで報告してください。");

QString childMode() { return qEnvironmentVariable("KURURINA_ABOUT_CHILD"); }

// Runs one Child.* test in a copy of this test program named name inside dir,
// so that the program's own folder and name are what the test makes them.
void runCopy(const QString& dir, const QString& name, const QString& test, const QString& mode,
             const QString& expect = {})
{
    const QString exe = dir + u'/' + name;
    ASSERT_TRUE(QFile::copy(platform::exePath(), exe));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KURURINA_ABOUT_CHILD"), mode);
    env.insert(QStringLiteral("KURURINA_ABOUT_EXPECT"), expect);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, {QStringLiteral("--gtest_filter=Child.") + test});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("[  SKIPPED ]"))) << out.toStdString();
}

} // namespace

// The system's own texts, the fixed white box, and nothing cut off.
TEST(VersionBox, TextsFitAndTheBoxIsFixed)
{
    frmShowVersion box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("クルリナのバージョン情報"));
    EXPECT_EQ(box.size(), QSize(333, 223));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(box.Label2->text(), QStringLiteral("Varsion\u30001.0.0"));
    EXPECT_EQ(box.Label5->cursor().shape(), assets::linkCursor().shape());
    EXPECT_EQ(box.Label1[1]->text(), QString()) << "the designation is set when the box loads";
    // Credits are ours and never repeat the product name.
    for (QLabel* l : box.Label3) {
        EXPECT_FALSE(l->text().isEmpty());
        EXPECT_FALSE(l->text().contains(QStringLiteral("クルリナ")));
    }
    // Every label, in its own font, holds its whole text.
    box.Form_Load();
    for (QLabel* l : box.findChildren<QLabel*>()) {
        EXPECT_TRUE(box.rect().contains(l->geometry())) << l->text().toStdString();
        EXPECT_LE(l->heightForWidth(l->width()), l->height() + 1) << l->text().toStdString();
    }
    const Qt::WindowFlags f = box.windowFlags();
    EXPECT_TRUE(f.testFlag(Qt::Dialog) && f.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(f & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint));
}

// OK, the window system's close, and the keys that must not close the box;
// each opening is a new box with the designation set again.
TEST(VersionBox, OpensFreshAndClosesOnlyByOkOrWindowClose)
{
    Form1 bus;
    const QString designation = QStringLiteral("型番・製造番号：") + platform::exeName();
    struct Case {
        const char* name;
        std::function<void(frmShowVersion*)> close;
    };
    const Case cases[] = {
        {"OK button", [](frmShowVersion* b) { QTest::mouseClick(b->Command1, Qt::LeftButton); }},
        {"window close", [](frmShowVersion* b) { b->close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<frmShowVersion> seen;
        bool stayedOpen = false;
        whenModal<frmShowVersion>([&](frmShowVersion* w) {
            seen = w;
            EXPECT_EQ(seen->parentWidget(), nullptr);
            EXPECT_EQ(seen->windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(seen->Label1[1]->text(), designation);
            EXPECT_EQ(seen->focusWidget(), seen->Command1);
            for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
                QTest::keyClick(seen, k);
            stayedOpen = seen->isVisible();
            c.close(seen);
        });
        bus.MnuHelpVer_Click();
        ASSERT_TRUE(stayedOpen) << "Escape, Return or Enter closed the box";
        EXPECT_TRUE(seen.isNull()) << "the box outlived its opening";
    }
}

// The maker's library as the link finds it in a folder, in the forms a
// folder can hold it.
TEST(MakerLibrary, AddressOrTheLoadersWords)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const auto folder = [&](const char* name, const QString& libFrom = {}, const QByteArray& bytes = {}) {
        const QString d = tmp.path() + u'/' + QString::fromUtf8(name);
        EXPECT_TRUE(QDir().mkpath(d));
        const QString lib = about::makerLibraryPath(d);
        if (!libFrom.isEmpty()) {
            EXPECT_TRUE(QFile::copy(libFrom, lib));
        }
        if (!bytes.isNull()) {
            QFile f(lib);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        return d;
    };
    struct Row {
        const char* what;
        QString folder;
        bool ok;
        QString addressOrError; // address, or a piece of the loader's words
    };
    const Row rows[] = {
        {"ours, beside the program", platform::exeFolder(), true, QStringLiteral(KURURINA_HP_URL)},
        {"ours, folder given with a slash", platform::exeFolder() + u'/', true, QStringLiteral(KURURINA_HP_URL)},
        {"another build's, with its own release function", folder("他の 版", QStringLiteral(FAKE_OTHER_LIB)), true,
         QStringLiteral("https://example.test/other?q=1")},
        {"missing", folder("empty"), false, QStringLiteral("cannot open shared object file")},
        {"without the export", folder("noexport", QStringLiteral(FAKE_NOEXPORT_LIB)), false,
         QStringLiteral("undefined symbol: KanaroHpURL")},
        {"not a library", folder("text", {}, QByteArray("#!/bin/sh\necho hello\n")), false,
         QStringLiteral("libTRX3Res.so")},
        {"program's folder unknown", QString(), false, QStringLiteral("folder is unknown")},
    };
    // A library in the current folder must never stand in for the program's own.
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_OTHER_LIB), about::makerLibraryPath(tmp.path())));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // Asked twice: each click loads and unloads the library again.
        for (int round = 0; round < 2; ++round) {
            const about::HpAddress hp = about::askMakerLibrary(r.folder);
            EXPECT_EQ(hp.ok, r.ok) << hp.error.toStdString();
            if (r.ok) {
                EXPECT_EQ(hp.address, r.addressOrError);
            } else {
                EXPECT_TRUE(hp.error.contains(r.addressOrError)) << hp.error.toStdString();
                EXPECT_TRUE(hp.address.isEmpty());
            }
        }
    }
    QDir::setCurrent(cwd);
}

// A renamed executable shows its own name, without the extension.
TEST(VersionBox, DesignationOfARenamedExecutable)
{
    const struct {
        const char* file;
        const char* designation;
    } rows[] = {
        {"TQ52B0317", "型番・製造番号：TQ52B0317"},
        {"方向幕 試験.v2.bin", "型番・製造番号：方向幕 試験.v2"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        runCopy(dir.path(), QString::fromUtf8(r.file), QStringLiteral("Designation"), QStringLiteral("run"),
                QString::fromUtf8(r.designation));
    }
}

// With no library beside the program the link reports the loader's words
// and the box stays open.
TEST(VersionBox, LinkWithoutTheLibraryReports)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    runCopy(dir.path(), QStringLiteral("kururina"), QStringLiteral("LinkReports"), QStringLiteral("missing"));
}

// The halves of the tests above that run inside a renamed copy.
TEST(Child, Designation)
{
    if (childMode().isEmpty())
        GTEST_SKIP() << "runs inside a renamed copy";
    Form1 bus;
    QString shown;
    whenModal<frmShowVersion>([&](frmShowVersion* b) {
        shown = b->Label1[1]->text();
        b->close();
    });
    bus.MnuHelpVer_Click();
    EXPECT_EQ(shown, qEnvironmentVariable("KURURINA_ABOUT_EXPECT"));
}

TEST(Child, LinkReports)
{
    if (childMode().isEmpty())
        GTEST_SKIP() << "runs inside a renamed copy";
    frmShowVersion box;
    box.Form_Load();
    box.show();
    const QString expected = about::makerLibraryPath(platform::exeFolder()) +
                             QStringLiteral(": cannot open shared object file: No such file or directory");
    for (int click = 0; click < 2; ++click) {
        SCOPED_TRACE(click);
        int messages = 0;
        whenModal<QMessageBox>([&](QMessageBox* m) {
            ++messages;
            EXPECT_EQ(m->windowTitle(), QStringLiteral("Kanhpurl.dllのエラー"));
            EXPECT_EQ(m->icon(), QMessageBox::Critical);
            EXPECT_EQ(m->standardButtons(), QMessageBox::Ok);
            EXPECT_EQ(m->text(), expected + QStringLiteral("\n\n") + reportRequest);
            EXPECT_TRUE(box.isVisible());
            QTest::mouseClick(m->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QTest::mouseClick(box.Label5, Qt::LeftButton);
        EXPECT_EQ(messages, 1);
        EXPECT_TRUE(box.isVisible()) << "the version box must stay open";
        EXPECT_EQ(QApplication::activeModalWidget(), &box) << "the message is still open";
    }
}
