#include "app/form1.h"
#include "platform/app_init.h"
#include "platform/session_end.h"
#include "platform/window_keeper.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::surviveFailedWrites();
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::initInterface();
    platform::keepModalWindowsShown();
    Form1 bus;
    bus.Form_Load();
    bus.watchSessionEnd();
    return app.exec();
}
