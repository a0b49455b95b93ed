// The baseline that the real program is measured against: a bare Qt Widgets window of a given size holding a
// given number of plain child widgets, one of them a label that shows a number ("0", like a meter that has
// not started), in Qt's default look, and nothing else of the program's.
//
//   bare_window CHILDREN WIDTH HEIGHT [show|idle|call]
//
// show: only shows the window. idle: also wakes once a second and does nothing. call: redraws the label and
// the title once a second each, half a second apart, as a running meter must.

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bare_window CHILDREN WIDTH HEIGHT [show|idle|call]\n");
        return 2;
    }
    const int children = args[1].toInt();
    const QString mode = args.size() > 4 ? args[4] : QStringLiteral("show");

    QWidget window;
    window.setFixedSize(args[2].toInt(), args[3].toInt());
    auto *label = new QLabel(QStringLiteral("0"), &window);
    label->setGeometry(10, 10, 120, 30);
    // The rest in a grid of small cells over the window, like controls on a form.
    for (int i = 1; i < children; ++i) {
        auto *child = new QWidget(&window);
        child->setGeometry(140 + (i % 12) * 24, 10 + (i / 12) * 24, 20, 20);
    }

    QTimer first;
    QTimer second;
    int count = 0;
    if (mode == QLatin1String("idle")) {
        first.start(1000);
    } else if (mode == QLatin1String("call")) {
        QObject::connect(&first, &QTimer::timeout, [&] { label->setText(QString::number(++count)); });
        QObject::connect(&second, &QTimer::timeout,
                         [&] { window.setWindowTitle(QStringLiteral("0:0:%1 = 2,4 Kč").arg(count)); });
        first.setTimerType(Qt::PreciseTimer);
        second.setTimerType(Qt::PreciseTimer);
        first.start(1000);
        QTimer::singleShot(500, Qt::PreciseTimer, [&] { second.start(1000); });
    }
    window.show();
    return QApplication::exec();
}
