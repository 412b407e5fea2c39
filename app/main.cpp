#include "app/form1.h"
#include "platform/app_init.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::initInterface();
    Form1 bus;
    bus.Form_Load();
    return app.exec();
}
