#include <reading_order.h>

#include <QTest>

#include <vector>

using tk::ReadingItem;

using Items = std::vector<ReadingItem>;
using Order = std::vector<std::size_t>;

// The order in which screen readers read a window's controls, from their places alone.
class ReadingOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data()
    {
        QTest::addColumn<Items>("items");
        QTest::addColumn<Order>("expected");

        // A value to the left of its heading's line, and a column below: rows by their tops, left to right.
        QTest::newRow("rows left to right")
            << Items{{QRect(200, 0, 50, 20)}, {QRect(0, 40, 50, 20)}, {QRect(0, 0, 100, 20)}}
            << Order{2, 0, 1};
        // A tall item spans two short ones beside it: one row, read by left edges.
        QTest::newRow("a tall item makes a row")
            << Items{{QRect(100, 30, 50, 20)}, {QRect(0, 0, 50, 100)}, {QRect(100, 0, 50, 20)}}
            << Order{1, 2, 0};
        // Overlapping but neither spanning the other: read top to bottom, not side by side.
        QTest::newRow("staggered items are read top first")
            << Items{{QRect(0, 10, 50, 20)}, {QRect(100, 0, 50, 20)}} << Order{1, 0};
        // An outline's contents are read together where the outline lies, before what lies beside it lower
        // down; an outline holding nothing says nothing.
        QTest::newRow("an outline reads as one")
            << Items{{QRect(0, 0, 100, 100), true}, {QRect(10, 60, 20, 20)},         {QRect(200, 10, 50, 20)},
                     {QRect(10, 10, 20, 20)},       {QRect(300, 300, 10, 10), true}, {QRect(60, 10, 20, 20)}}
            << Order{3, 5, 1, 2};
        QTest::newRow("outside an outline")
            << Items{{QRect(0, 0, 100, 100), true}, {QRect(90, 90, 20, 20)}} << Order{1};
        QTest::newRow("nothing") << Items{} << Order{};
    }

    void order()
    {
        QFETCH(Items, items);
        QFETCH(Order, expected);
        QCOMPARE(tk::readingOrder(items), expected);
    }

    // A credit scrolled out of the viewport leaves the reading; a line of it still showing stays.
    void inView()
    {
        const QRect area(0, 0, 100, 50);
        QVERIFY(tk::inView(QRect(10, 45, 20, 20), area));
        QVERIFY(!tk::inView(QRect(10, -20, 20, 20), area));
        QVERIFY(!tk::inView(QRect(10, 50, 20, 20), area));
    }
};

QTEST_GUILESS_MAIN(ReadingOrderTest)
#include "reading_order_test.moc"
