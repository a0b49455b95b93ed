#include "window_session.h"

#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <cstdlib>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *accessible(tk::Form &form, const QString &name)
{
    QWidget *widget = tk::windowOf(form)->findChild<QWidget *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return QAccessible::queryAccessibleInterface(widget);
}

// What a screen reader is told to say: Qt 6.8's announcements, or the notifications that show before it.
QStringList heard;

void listen(QAccessibleEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement)
        heard << static_cast<QAccessibleAnnouncementEvent *>(event)->message();
#else
    if (event->type() == QAccessible::ObjectShow &&
        event->accessibleInterface()->role() == QAccessible::Notification)
        heard << event->accessibleInterface()->text(QAccessible::Name);
#endif
}

// What the screen reader has been told since it was last asked. Captions reach the widgets at the next turn
// of the event loop, and their announcements the screen reader at the turn after.
QStringList told()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return std::exchange(heard, {});
}

QWidget *activated(tk::Form &form)
{
    QWidget *window = tk::windowOf(form);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qFatal("%s was not activated", qPrintable(window->objectName()));
    return window;
}

} // namespace

// What a screen reader can read of the meter and the bill: a label that shows a value reads it as shown, as
// its name and text, and says what it is in Czech as its description; the check boxes are named by the
// labels beside them; it hears each new price and period once. Run from the keyboard alone, the window keeps
// the focus where the user expects it and shows where it is.
class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    // Accessibility switched on, as a screen reader's arrival does on a desktop; what the program reports
    // goes to the listener.
    void initTestCase()
    {
        QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);
        platform->setActive(true);
        QAccessible::installUpdateHandler(listen);
    }

    void valuesCanBeRead_data()
    {
        QTest::addColumn<bool>("onBill");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("value");
        // A call of 1 h 2 min 5 s begun on a Monday morning, looked at while it runs and on the bill after
        // it.
        QTest::newRow("Label10") << false << u"Dnešní datum"_s << u"7.12.2026"_s;
        QTest::newRow("Label11") << false << u"Den v týdnu"_s << u"pondělí"_s;
        QTest::newRow("Label14") << false << u"Druh provozu"_s << u"silný"_s;
        QTest::newRow("Label3") << false << u"Hodiny"_s << u"1"_s;
        QTest::newRow("Label2") << false << u"Minuty"_s << u"2"_s;
        QTest::newRow("Label1") << false << u"Sekundy"_s << u"5"_s;
        QTest::newRow("Label4") << false << u"Cena hovoru v Kč"_s << u"50,4"_s;
        QTest::newRow("Label12") << true << u"Vyúčtovaný měsíc"_s << u"12/2026"_s;
        QTest::newRow("Label13") << true << u"Vystaveno dne"_s << u"07.12.2026"_s;
        QTest::newRow("Label21") << true << u"Vystaveno dne"_s << u"07.12.2026"_s;
        QTest::newRow("Label16") << true << u"Částka za hovory v Kč"_s << u"50,4"_s;
        QTest::newRow("Label19") << true << u"Celková částka v Kč"_s << u"50,4"_s;
    }

    void valuesCanBeRead()
    {
        QFETCH(bool, onBill);
        QFETCH(QString, description);
        QFETCH(QString, value);
        LocaleScope czech(u"cs_CZ"_s);
        WindowSession session(WindowSession::at(2026, 12, 7, 10));
        tk::Form *form = &session.program().show<Form1>();
        WindowSession::click(*form, "Command1");
        session.seconds(3725);
        if (onBill) {
            WindowSession::click(*form, "Command3");
            form = session.program().find<Form2>();
        }
        session.program().flush();

        QAccessibleInterface *control = accessible(*form, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(control->role(), QAccessible::StaticText);
        QCOMPARE(control->text(QAccessible::Name), value);
        QCOMPARE(control->text(QAccessible::Description), description);
        QAccessibleTextInterface *text = control->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), value);
    }

    void checkBoxesAreNamedByTheLabelsBesideThem_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("checked");
        QTest::newRow("Check1") << u"Label17"_s << u"Po startu minimalizovat"_s << false;
        QTest::newRow("Check2") << u"Label19"_s << u"Po stopnutí zobrazit vyúčtování"_s << true;
    }

    void checkBoxesAreNamedByTheLabelsBesideThem()
    {
        QFETCH(QString, label);
        QFETCH(QString, name);
        QFETCH(bool, checked);
        WindowSession session(WindowSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        QAccessibleInterface *box = accessible(main, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(box->role(), QAccessible::CheckBox);
        QCOMPARE(box->text(QAccessible::Name), name);
        QCOMPARE(bool(box->state().checked), checked);
        const auto labels = box->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object()->objectName(), label);
    }

    // A call begun from the keyboard while the minimize option is in focus leaves the focus on Start, not on
    // the next box: a Space meant for Start would untick the bill option unseen.
    void startingFromACheckBoxLeavesTheFocusOnStart()
    {
        WindowSession session(WindowSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        QWidget *window = activated(main);
        QTest::keyClick(window, Qt::Key_Tab);
        QTest::keyClick(window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Check1"_s);
        QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
        QVERIFY(main.timer("Timer1").enabled());
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Command1"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(main.checkBox("Check2").value(), 1);
    }

    void enterPressesTheButtonInFocus_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Enter") << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }

    void enterPressesTheButtonInFocus()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        WindowSession session(WindowSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        activated(main);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Command1"_s);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QVERIFY(main.timer("Timer1").enabled());
    }

    // The focus frame shows on Start as the window opens, before any key, drawn in the active window's
    // colours. On a desktop whose inactive windows have a grey highlight, a frame in those would not show;
    // the window is drawn once before it is activated, as a window manager has it.
    void theFocusFrameShowsFromTheStartInTheActiveColours()
    {
        WindowSession session(WindowSession::at(2026, 12, 7, 10));
        QPalette desktop = QApplication::palette();
        desktop.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x90, 0x90, 0x90));
        QApplication::setPalette(desktop);
        Form1 &main = session.program().show<Form1>();
        tk::windowOf(main)->grab();
        activated(main);
        auto *start = tk::windowOf(main)->findChild<QAbstractButton *>(u"Command1"_s);
        QVERIFY(start->hasFocus());
        const QImage drawn = start->grab().toImage();
        const int hue = desktop.color(QPalette::Active, QPalette::Highlight).hslHue();
        int framed = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QColor pixel = drawn.pixelColor(x, y);
                if (pixel.hslSaturationF() > 0.3 && std::abs(pixel.hslHue() - hue) < 10)
                    ++framed;
            }
        }
        QVERIFY2(framed > drawn.width(), qPrintable(QString::number(framed)));
    }

    // A screen reader hears the price and the period as they change, never the seconds; a window in the
    // background keeps its news until it is active again, and then tells only the latest of each.
    void theCallIsHeardAndWhatChangedAwayIsToldOnReturn()
    {
        LocaleScope czech(u"cs_CZ"_s);
        WindowSession session(WindowSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        activated(main);
        told();
        WindowSession::click(main, "Command1");
        QCOMPARE(told(), QStringList({u"Cena hovoru 2,4 Kč"_s}));
        session.seconds(1);
        QCOMPARE(told(), QStringList({u"Provoz silný"_s}));
        for (int second = 0; second < 10; ++second) {
            session.seconds(1);
            QCOMPARE(told(), QStringList());
        }

        // Two price steps while the about window is in front.
        WindowSession::click(main, "mnuabout");
        activated(*session.program().find<Form3>());
        for (int second = 0; second < 400; ++second) {
            session.seconds(1);
            QCOMPARE(told(), QStringList());
        }
        activated(main);
        QCOMPARE(told(), QStringList({u"Cena hovoru 7,2 Kč"_s}));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
