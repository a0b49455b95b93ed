#include "session.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>
#include <QWidget>

Session::Session(const QDateTime &start) : clock_(start), program_(clock_) {}

QDateTime Session::at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone("Europe/Prague"));
}

void Session::click(tk::Form &form, const char *name)
{
    const QString objectName = QString::fromLatin1(name);
    if (auto *button = form.window()->findChild<QAbstractButton *>(objectName)) {
        QVERIFY2(button->isVisible() || !form.window()->isVisible(), name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        return;
    }
    auto *action = form.window()->findChild<QAction *>(objectName);
    QVERIFY2(action, name);
    action->trigger();
}
