#include "window_session.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QWidget>

void WindowSession::click(tk::Form &form, const char *name)
{
    QWidget *window = tk::windowOf(form);
    const QString objectName = QString::fromLatin1(name);
    if (auto *button = window->findChild<QAbstractButton *>(objectName)) {
        QVERIFY2(button->isVisible() || !window->isVisible(), name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        return;
    }
    auto *action = window->findChild<QAction *>(objectName);
    QVERIFY2(action, name);
    action->trigger();
}

qsizetype WindowSession::widgets()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return QApplication::allWidgets().size();
}
