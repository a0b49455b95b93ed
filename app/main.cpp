#include <form1.h>

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Lets the desktop match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELVOR_APP_ID));
    tk::SystemClock clock;
    tk::Program program(clock);
    program.setEndHandler([] { QCoreApplication::quit(); });
    program.show<Form1>();
    return QApplication::exec();
}
