#include <QApplication>

#include "shell/qt_startup.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    shell::Main();
    return app.exec();
}
