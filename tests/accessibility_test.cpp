#include "window_session.h"

#include <form1.h>
#include <form2.h>

#include <QAccessible>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *accessible(tk::Form &form, const QString &name)
{
    QWidget *widget = tk::windowOf(form)->findChild<QWidget *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return QAccessible::queryAccessibleInterface(widget);
}

} // namespace

// What a screen reader can read of the meter and the bill: a label that shows a value reads it as shown, as
// its name and text, and says what it is in Czech as its description; the check boxes are named by the
// labels beside them.
class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
