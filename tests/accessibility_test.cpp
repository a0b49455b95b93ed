#include "session.h"

#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

QAccessibleInterface *accessible(tk::Form &form, const QString &name)
{
    QWidget *widget = form.window()->findChild<QWidget *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return QAccessible::queryAccessibleInterface(widget);
}

// What a screen reader finds in the control's text: the whole of it.
QString readText(QAccessibleInterface *control)
{
    QAccessibleTextInterface *text = control->textInterface();
    return text ? text->text(0, text->characterCount()) : QString();
}

// A call of 1 h 2 min 5 s begun on a Monday morning, looked at while it runs and on the bill after it.
class Call
{
public:
    Call() : session_(Session::at(2026, 12, 7, 10)), main_(&session_.program().show<Form1>())
    {
        Session::click(*main_, "Command1");
        session_.seconds(3725);
        session_.program().flush();
    }

    Form1 &main() { return *main_; }

    Form2 &bill()
    {
        Session::click(*main_, "Command3");
        session_.program().flush();
        main_ = nullptr;
        return *session_.program().find<Form2>();
    }

private:
    LocaleScope czech_{u"cs_CZ"_s};
    Session session_;
    Form1 *main_;
};

void valueRows()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
}

} // namespace

// What a screen reader can read of the windows: every control that shows something has a Czech name, and a
// label that shows a value gives that name and its caption as the value.
class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void theMeterCanBeRead_data()
    {
        valueRows();
        QTest::newRow("Label10") << u"Datum"_s << u"7.12.2026"_s;
        QTest::newRow("Label11") << u"Den v týdnu"_s << u"pondělí"_s;
        QTest::newRow("Label14") << u"Provoz"_s << u"silný"_s;
        QTest::newRow("Label3") << u"Hodiny"_s << u"1"_s;
        QTest::newRow("Label2") << u"Minuty"_s << u"2"_s;
        QTest::newRow("Label1") << u"Sekundy"_s << u"5"_s;
        QTest::newRow("Label4") << u"Cena hovoru v Kč"_s << u"50,4"_s;
    }

    void theMeterCanBeRead()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        Call call;
        QAccessibleInterface *control = accessible(call.main(), QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(control->role(), QAccessible::StaticText);
        QCOMPARE(control->text(QAccessible::Name), name);
        QCOMPARE(control->text(QAccessible::Value), value);
        QCOMPARE(readText(control), value);
    }

    void theBillCanBeRead_data()
    {
        valueRows();
        QTest::newRow("Label12") << u"Účtovací období"_s << u"12/2026"_s;
        QTest::newRow("Label13") << u"Datum vystavení dokladu"_s << u"07.12.2026"_s;
        QTest::newRow("Label21") << u"Datum vystavení dokladu"_s << u"07.12.2026"_s;
        QTest::newRow("Label16") << u"Částka za hovory v Kč"_s << u"50,4"_s;
        QTest::newRow("Label19") << u"Celkem k platbě Kč"_s << u"50,4"_s;
    }

    void theBillCanBeRead()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        Call call;
        QAccessibleInterface *control = accessible(call.bill(), QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(control->text(QAccessible::Name), name);
        QCOMPARE(control->text(QAccessible::Value), value);
        QCOMPARE(readText(control), value);
    }

    // The check boxes have no caption of their own: the labels beside them name them.
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
        Session session(Session::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        QAccessibleInterface *box = accessible(main, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(box->role(), QAccessible::CheckBox);
        QCOMPARE(box->text(QAccessible::Name), name);
        QCOMPARE(bool(box->state().checked), checked);
        const auto labels = box->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object()->objectName(), label);
    }

    // A sweep of all three windows as a screen reader meets them: whatever shows text or can be pressed has
    // a name, so nothing on screen is read out as an empty item.
    void everyVisibleControlHasAName()
    {
        Session session(Session::at(2026, 12, 7, 10));
        std::vector<tk::Form *> forms{&session.program().show<Form1>(), &session.program().show<Form3>(),
                                      &session.program().show<Form2>()};
        session.program().flush();
        int count = 0;
        for (tk::Form *form : forms) {
            for (QWidget *widget : form->window()->findChildren<QWidget *>()) {
                const bool shows =
                    qobject_cast<QAbstractButton *>(widget) ||
                    (qobject_cast<QLabel *>(widget) && !qobject_cast<QLabel *>(widget)->text().isEmpty());
                if (!shows || !widget->isVisibleTo(form->window()) || widget->height() < 2)
                    continue;
                ++count;
                QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(),
                         qPrintable(widget->objectName()));
            }
        }
        QVERIFY(count > 40);
    }

    void buttonsAreNamedByTheirCaptionsWithoutAccessKeyMarks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Command1") << u"Start"_s;
        QTest::newRow("Command3") << u"Stop & Konec"_s;
    }

    void buttonsAreNamedByTheirCaptionsWithoutAccessKeyMarks()
    {
        QFETCH(QString, name);
        Session session(Session::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        QAccessibleInterface *button = accessible(main, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), name);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
