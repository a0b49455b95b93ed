#include "window_session.h"

#include <form1.h>
#include <form2.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QColor lightCyan(0x80, 0xFF, 0xFF);

bool dark(const QImage &image, QPoint at)
{
    return qGray(image.pixel(at)) < 64;
}

} // namespace

// The bill as created, before it is dated and priced. Expected values are the layout's twips / 15.
class BillWindowLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void labels_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QString>("caption"); // null: a made-up name or address line
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("fontPixels");
        QTest::addColumn<bool>("bold");
        const auto row = [](const char *name, QRect box, const char *caption,
                            Qt::Alignment align = Qt::AlignLeft, int fontPixels = 11, bool bold = false) {
            QTest::newRow(name) << box << (caption ? QString::fromUtf8(caption) : QString()) << int(align)
                                << fontPixels << bold;
        };
        row("Label12", {136, 192, 89, 17}, "", Qt::AlignHCenter);
        row("Label21", {464, 160, 89, 17}, "", Qt::AlignHCenter);
        row("Label20", {464, 144, 89, 17}, nullptr, Qt::AlignHCenter);
        row("Label19", {392, 280, 73, 17}, "0", Qt::AlignRight);
        row("Label18", {256, 280, 97, 17}, "Celkem k platbě Kč");
        row("Label17", {456, 240, 33, 17}, "Kč");
        row("Label16", {376, 240, 73, 17}, "0", Qt::AlignRight);
        row("Label15", {80, 240, 153, 17}, "Hovory spoj autom 2.4 Kč/imp");
        row("Label14", {200, 240, 9, 1}, "Label14");
        row("Label13", {240, 192, 129, 17}, "", Qt::AlignHCenter);
        row("Label11", {240, 160, 129, 17}, "Datum vystavení dokladu", Qt::AlignHCenter);
        row("Label10", {136, 160, 89, 17}, "Účtovací období", Qt::AlignHCenter);
        row("Label9", {16, 120, 409, 25}, "VYÚČTOVÁNÍ ZA TELEKOMUNIKAČNÍ SLUŽBY", Qt::AlignLeft, 16, true);
        row("Label8", {368, 80, 209, 17}, nullptr, Qt::AlignHCenter);
        row("Label7", {368, 64, 209, 17}, nullptr, Qt::AlignHCenter);
        row("Label5", {368, 48, 209, 17}, nullptr, Qt::AlignHCenter);
        row("Label4", {16, 96, 121, 17}, nullptr);
        row("Label3", {16, 80, 121, 17}, nullptr);
        row("Label2", {16, 64, 121, 17}, "oblast Praha, o.z.");
        row("Label1", {16, 48, 145, 17}, "SPT TELECOM, a.s.", Qt::AlignLeft, 13, true);
    }

    void labels()
    {
        QFETCH(QRect, box);
        QFETCH(QString, caption);
        QFETCH(int, align);
        QFETCH(int, fontPixels);
        QFETCH(bool, bold);
        WindowSession session(WindowSession::at(1998, 3, 6));
        Form2 bill(session.program());
        const std::string_view name = QTest::currentDataTag();
        auto *widget = qobject_cast<QLabel *>(tk::widgetOf(bill.label(name)));
        QCOMPARE(widget->geometry(), box);
        QCOMPARE(int(widget->alignment() & Qt::AlignHorizontal_Mask), align);
        QCOMPARE(widget->font().pixelSize(), fontPixels);
        QCOMPARE(widget->font().bold(), bold);
        QVERIFY(!widget->isHidden());
        QVERIFY(widget->autoFillBackground());
        QCOMPARE(widget->palette().color(QPalette::WindowText), QColor(Qt::black));
        // Only the stray Label14 stands out from the bill's ground, as a short dash.
        const QColor standard = QApplication::palette().color(QPalette::Window);
        QVERIFY(standard != lightCyan);
        QCOMPARE(widget->palette().color(QPalette::Window), name == "Label14" ? standard : lightCyan);
        if (!caption.isNull()) {
            QCOMPARE(bill.label(name).caption(), caption);
        } else {
            const QString made = bill.label(name).caption();
            QVERIFY(!made.isEmpty());
            QVERIFY2(QFontMetrics(widget->font()).horizontalAdvance(made) <= box.width(), qPrintable(made));
        }
    }

    void window()
    {
        WindowSession session(WindowSession::at(1998, 3, 6));
        Form2 bill(session.program());
        QWidget *window = tk::windowOf(bill);
        QCOMPARE(window->windowTitle(), u"Vyúčtování "_s);
        QCOMPARE(window->minimumSize(), QSize(604, 327));
        QCOMPARE(window->maximumSize(), QSize(604, 327));
        QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(window->windowIcon().isNull());
        QCOMPARE(window->grab().toImage().pixelColor(600, 4), lightCyan);

        auto *button = qobject_cast<QPushButton *>(tk::widgetOf(bill.commandButton("Command1")));
        QCOMPARE(button->geometry(), QRect(16, 288, 97, 25));
        QCOMPARE(button->text(), u"Tak dobře ..."_s);
        QVERIFY(button->isEnabled());

        auto *logo = qobject_cast<QLabel *>(tk::widgetOf(bill.control("Image1")));
        QCOMPARE(logo->geometry(), QRect(8, 8, 160, 38));
        QCOMPARE(logo->pixmap().deviceIndependentSize().toSize(), QSize(160, 38));
    }

    // Lines and outlines as drawn: a short scan across each finds a dark run of the outline's width.
    void outlines_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<int>("firstDark"); // steps from `from`
        QTest::addColumn<int>("width");
        const QPoint across(1, 0);
        const QPoint down(0, 1);
        QTest::newRow("Shape1, left side") << QPoint(354, 72) << across << 6 << 3;
        QTest::newRow("Shape2, left side") << QPoint(122, 200) << across << 6 << 1;
        QTest::newRow("Shape3, left side") << QPoint(242, 288) << across << 6 << 2;
        QTest::newRow("Line1") << QPoint(250, 106) << down << 6 << 1;
        QTest::newRow("Line1, under the operator's address") << QPoint(20, 106) << down << 6 << 1;
        QTest::newRow("Line2") << QPoint(300, 178) << down << 6 << 1;
        QTest::newRow("Line3") << QPoint(226, 200) << across << 6 << 1;
        QTest::newRow("Line4") << QPoint(300, 226) << down << 5 << 2;
    }

    void outlines()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, step);
        QFETCH(int, firstDark);
        QFETCH(int, width);
        WindowSession session(WindowSession::at(1998, 3, 6));
        Form2 bill(session.program());
        const QImage image = tk::windowOf(bill)->grab().toImage();
        QList<int> run;
        for (int i = 0; i < 13; ++i) {
            if (dark(image, from + i * step))
                run << i;
        }
        QCOMPARE(run.value(0, -1), firstDark);
        QCOMPARE(run.size(), width);
        QCOMPARE(run.last() - run.first() + 1, width);
    }

    // The office box is drawn dash-dot: its top side has gaps, where the other boxes have none.
    void officeBoxIsDashDot()
    {
        WindowSession session(WindowSession::at(1998, 3, 6));
        Form2 bill(session.program());
        const QImage image = tk::windowOf(bill)->grab().toImage();
        int dashes = 0;
        for (int x = 456; x < 561; ++x)
            dashes += dark(image, {x, 136}) ? 1 : 0;
        QVERIFY2(dashes > 40 && dashes < 95, qPrintable(QString::number(dashes)));
        QVERIFY(dark(image, {456, 136}));
    }

    // Stop shows the bill in the main window's place, whose widgets go once the event loop turns. The bill's
    // button ends the program: its window leaves the screen at once, and the session leaves no widget behind.
    void theBillReplacesTheMainWindowAndLeavesNothingBehind()
    {
        const qsizetype before = WindowSession::widgets();
        {
            WindowSession session(WindowSession::at(1998, 3, 6, 10));
            Form1 &main = session.program().show<Form1>();
            const QPointer<QWidget> mainWindow = tk::windowOf(main);
            WindowSession::click(main, "Command1");
            session.seconds(25 * 3600);
            WindowSession::click(main, "Command3");
            Form2 *bill = session.program().find<Form2>();
            QVERIFY(bill);
            QCoreApplication::sendPostedEvents();
            QVERIFY(!mainWindow);
            QVERIFY(tk::windowOf(*bill)->isVisible());
            WindowSession::click(*bill, "Command1");
            QVERIFY(session.program().ended());
            QVERIFY(!tk::windowOf(*bill)->isVisible());
        }
        QCOMPARE(WindowSession::widgets(), before);
    }
};

QTEST_MAIN(BillWindowLayoutTest)
#include "bill_window_layout_test.moc"
