// The version box: how it opens and closes, its designation, the link asking
// the maker's library once per click, the library in every form a folder can
// hold it, and the report when it is missing.
#include "about/maker_link.h"
#include "platform/files/exe_info.h"
#include "tests/support/bus.h"

#include <QDesktopServices>
#include <QPointer>
#include <QUrl>

using testing_support::whenModal;

// Stands in for the desktop's handler of web addresses.
class Browser : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }
};

// OK and the window system's close end it (that Escape, Return and Enter do
// not is the dialogs' shared rule: folder_dialog_test); each opening is a new
// box with the designation set again; each click on the link opens the maker's
// address once and leaves the box open.
TEST(VersionBox, OpensFreshClosesByOkOrWindowCloseAndLinksPerClick)
{
    Browser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    Form1 bus;
    for (const bool byOk : {true, false}) {
        QPointer<frmShowVersion> seen;
        bool stayedOpen = false;
        whenModal<frmShowVersion>(
            [&](frmShowVersion* w) {
                seen = w;
                EXPECT_EQ(w->Label1[1]->text(), QStringLiteral("型番・製造番号：") + platform::exeName());
                QTest::mouseClick(w->Label5, Qt::LeftButton);
                QTest::mouseClick(w->Label5, Qt::LeftButton);
                stayedOpen = w->isVisible();
                byOk ? QTest::mouseClick(w->Command1, Qt::LeftButton) : void(w->close());
            },
            [&] { bus.MnuHelpVer_Click(); });
        EXPECT_TRUE(stayedOpen && seen.isNull()) << "the link closed the box, or it outlived its opening";
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(browser.opened, QList<QUrl>(4, QUrl(QStringLiteral(KURURINA_HP_URL))));
}

// The maker's library as the link finds it in a folder, in the forms a
// folder can hold it, each asked twice (loaded and unloaded on every click);
// a library in the current folder never stands in.
TEST(MakerLibrary, AddressOrTheLoadersWords)
{
    QTemporaryDir tmp;
    const auto folder = [&](const char* name, const QString& lib = {}) {
        const QString dir = tmp.filePath(QString::fromUtf8(name));
        if (QDir().mkpath(dir) && !lib.isEmpty())
            QFile::copy(lib, about::makerLibraryPath(dir));
        return dir;
    };
    testing_support::writeFile(about::makerLibraryPath(folder("text")), "#!/bin/sh\n");
    const std::tuple<QString, bool, QString> rows[] = {
        // folder, found, the address or a piece of the loader's words
        {platform::exeFolder(), true, QStringLiteral(KURURINA_HP_URL)}, // ours, released with free()
        // Another one, which hands out its own address and has its own release.
        {folder("他の 版", QStringLiteral(FAKE_OTHER_LIB)), true, "https://example.test/other?q=1"},
        {folder("empty"), false, "cannot open shared object file"},
        {folder("noexport", QStringLiteral(FAKE_NOEXPORT_LIB)), false, "undefined symbol: KanaroHpURL"},
        {tmp.filePath("text"), false, "libTRX3Res.so"},
        {QString(), false, "folder is unknown"},
    };
    QFile::copy(QStringLiteral(FAKE_OTHER_LIB), about::makerLibraryPath(tmp.path()));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    for (const auto& [dir, found, text] : rows)
        for (int click = 0; click < 2; ++click) {
            const auto hp = about::askMakerLibrary(dir);
            const QString said = hp ? *hp : hp.error();
            EXPECT_TRUE(hp.has_value() == found && (found ? said == text : said.contains(text)))
                << dir.toStdString() << ": " << said.toStdString();
        }
    QDir::setCurrent(cwd);
}

// With the maker's library gone from beside the program, the link reports the
// loader's words under the fixed title, with one OK button, and the box stays.
TEST(VersionBox, LinkWithoutTheLibraryReports)
{
    const QString lib = about::makerLibraryPath(platform::exeFolder());
    ASSERT_TRUE(QFile::rename(lib, lib + ".away"));
    const std::unique_ptr<const QString, void (*)(const QString*)> restore(
        &lib, [](const QString* l) { QFile::rename(*l + ".away", *l); });
    frmShowVersion box;
    box.show();
    int messages = 0;
    whenModal<QMessageBox>(
        [&](QMessageBox* m) {
            ++messages;
            EXPECT_TRUE(m->windowTitle() == QStringLiteral("Kanhpurl.dllのエラー") &&
                        m->icon() == QMessageBox::Critical && m->standardButtons() == QMessageBox::Ok);
            EXPECT_EQ(m->text(),
                      lib + QStringLiteral(": cannot open shared object file: No such file or directory\n\n"
                                           " 上記内容をカナロHP関係者まで報告してください。"));
            m->button(QMessageBox::Ok)->click();
        },
        [&] { QTest::mouseClick(box.Label5, Qt::LeftButton); });
    EXPECT_TRUE(messages == 1 && box.isVisible()) << "one message, and the version box stays open";
}

#include "about_version_test.moc"
