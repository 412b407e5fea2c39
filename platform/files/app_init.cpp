#include "platform/files/app_init.h"

#include "platform/files/exe_info.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

namespace platform
{

void prepareApplication()
{
    exePath();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

bool initInterface()
{
    // Every text of the program is Japanese, so Qt's own are too, whatever the
    // user's locale says.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

} // namespace platform
