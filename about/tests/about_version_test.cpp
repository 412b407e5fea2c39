// The version box: how it opens and closes, its designation, the link asking
// the maker's library once per click, the library in every form a folder can
// hold it, and the report when it is missing.
#include "about/maker_link.h"
#include "platform/files/exe_info.h"
#include "tests/support/bus.h"

#include <QDesktopServices>
#include <QPointer>
#include <QScopeGuard>
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
// address once and leaves the box open. With the maker's library gone from
// beside the program (the second opening), each click reports the loader's
// words under the fixed title, with one OK button, and opens nothing.
TEST(VersionBox, OpensFreshClosesByOkOrWindowCloseAndLinksOrReportsPerClick)
{
    Browser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    const QString lib = about::makerLibraryPath(platform::exeFolder());
    const auto restore = qScopeGuard([&] { QFile::rename(lib + ".away", lib); });
    const auto report = [&](QMessageBox* m) {
        EXPECT_TRUE(m->windowTitle() == QStringLiteral("Kanhpurl.dllのエラー") &&
                    m->icon() == QMessageBox::Critical && m->standardButtons() == QMessageBox::Ok);
        EXPECT_EQ(m->text(),
                  lib + QStringLiteral(": cannot open shared object file: No such file or directory\n\n"
                                       " 上記内容をカナロHP関係者まで報告してください。"));
        m->button(QMessageBox::Ok)->click();
    };
    Form1 bus;
    for (const bool libraryThere : {true, false}) {
        ASSERT_TRUE(libraryThere || QFile::rename(lib, lib + ".away"));
        QPointer<frmShowVersion> seen;
        bool stayedOpen = false;
        whenModal<frmShowVersion>(
            [&](frmShowVersion* w) {
                seen = w;
                EXPECT_EQ(w->Label1[1]->text(), QStringLiteral("型番・製造番号：") + platform::exeName());
                const auto click = [&] { QTest::mouseClick(w->Label5, Qt::LeftButton); };
                for (int i = 0; i < 2; ++i)
                    libraryThere ? click() : whenModal<QMessageBox>(report, click);
                stayedOpen = w->isVisible();
                libraryThere ? QTest::mouseClick(w->Command1, Qt::LeftButton) : void(w->close());
            },
            [&] { bus.MnuHelpVer_Click(); });
        EXPECT_TRUE(stayedOpen && seen.isNull()) << "the link closed the box, or it outlived its opening";
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(browser.opened, QList<QUrl>(2, QUrl(QStringLiteral(KURURINA_HP_URL))));
}

// The maker's library as the link finds it in a folder, in the forms a
// folder can hold it, each asked twice (loaded and unloaded on every click).
TEST(MakerLibrary, AddressOrTheLoadersWords)
{
    QTemporaryDir tmp;
    const QString other = tmp.filePath(QStringLiteral("他の 版")), noexport = tmp.filePath("noexport");
    for (const auto& [dir, lib] : {std::pair{other, FAKE_OTHER_LIB}, {noexport, FAKE_NOEXPORT_LIB}})
        ASSERT_TRUE(QDir().mkpath(dir) && QFile::copy(lib, about::makerLibraryPath(dir)));
    const std::tuple<QString, bool, QString> rows[] = {
        // folder, found, the address or a piece of the loader's words
        // Another one, which hands out its own address and has its own release.
        {other, true, "https://example.test/other?q=1"},
        {noexport, false, "undefined symbol: KanaroHpURL"},
        {QString(), false, "folder is unknown"},
    };
    for (const auto& [dir, found, text] : rows)
        for (int click = 0; click < 2; ++click) {
            const auto hp = about::askMakerLibrary(dir);
            const QString said = hp ? *hp : hp.error();
            EXPECT_TRUE(hp.has_value() == found && (found ? said == text : said.contains(text)))
                << dir.toStdString() << ": " << said.toStdString();
        }
}

#include "about_version_test.moc"
