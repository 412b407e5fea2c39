#include "app/form1.h"
#include "app/layout_fonts.h"
#include "platform/desktop/session_end.h"
#include "platform/desktop/window_keeper.h"
#include "platform/files/app_init.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::surviveFailedWrites();
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::initInterface();
    substituteLayoutFonts();
    platform::keepModalWindowsShown();
    Form1 bus;
    bus.Form_Load();
    bus.watchSessionEnd();
    return app.exec();
}
