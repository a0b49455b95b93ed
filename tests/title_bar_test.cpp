#include "window_session.h"

#include <desktop_settings.h>
#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QScreen>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// Shows the window of the named form (main, bill or about) in the session.
QWidget *show(WindowSession &session, const QString &window)
{
    tk::Program &program = session.program();
    tk::Form &form = window == u"main"_s   ? static_cast<tk::Form &>(program.show<Form1>())
                     : window == u"bill"_s ? static_cast<tk::Form &>(program.show<Form2>())
                                           : static_cast<tk::Form &>(program.show<Form3>());
    program.flush();
    return tk::windowOf(form);
}

// The boxes that the window's title bar shows, from left to right, each with the side it is on.
QStringList shownBoxes(const QWidget &window)
{
    QList<const QWidget *> shown;
    for (const char *name : {"close", "minimize"}) {
        const auto *box = window.findChild<QWidget *>(QString::fromLatin1(name));
        if (box && box->isVisibleTo(&window))
            shown << box;
    }
    std::ranges::sort(shown, {}, [](const QWidget *box) { return box->x(); });
    QStringList boxes;
    for (const QWidget *box : shown) {
        const int middle = box->mapTo(&window, box->rect().center()).x();
        boxes << box->objectName() + (middle < window.width() / 2 ? u" left"_s : u" right"_s);
    }
    return boxes;
}

QWidget *barOf(const QWidget &window)
{
    return window.findChild<QWidget *>(u"close"_s)->parentWidget();
}

// Sets the desktop's button layout for the lifetime of the object.
class ButtonLayoutScope
{
public:
    explicit ButtonLayoutScope(const QString &layout)
    {
        tk::DesktopSettings::session().setButtonLayout(layout);
    }
    ~ButtonLayoutScope() { tk::DesktopSettings::session().setButtonLayout(QString()); }
    ButtonLayoutScope(const ButtonLayoutScope &) = delete;
    ButtonLayoutScope &operator=(const ButtonLayoutScope &) = delete;
};

} // namespace

// The title bar that each window draws itself where the compositor leaves the frame to it (GNOME's,
// weston), tried on every window: the boxes it shows and where, what they do, the room it takes and what
// reaches the screen.
class TitleBarTest : public QObject
{
    Q_OBJECT

private slots:
    void boxesFollowTheWindowAndTheDesktopsLayout_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("boxes");
        const QStringList both{u"minimize right"_s, u"close right"_s};
        const QStringList close{u"close right"_s};
        QTest::newRow("main, layout unknown") << u"main"_s << QString() << both;
        QTest::newRow("main, GNOME's default") << u"main"_s << u"appmenu:close"_s << close;
        QTest::newRow("main, maximize asked too")
            << u"main"_s << u"appmenu:minimize,maximize,close"_s << both;
        QTest::newRow("main, on the left")
            << u"main"_s << u"close,minimize:"_s << QStringList{u"close left"_s, u"minimize left"_s};
        QTest::newRow("main, both sides")
            << u"main"_s << u"minimize:close"_s << QStringList{u"minimize left"_s, u"close right"_s};
        QTest::newRow("main, named twice")
            << u"main"_s << u"close:minimize,close"_s << QStringList{u"close left"_s, u"minimize right"_s};
        QTest::newRow("main, none") << u"main"_s << u"appmenu:"_s << QStringList();
        QTest::newRow("bill, layout unknown") << u"bill"_s << QString() << close;
        QTest::newRow("bill, minimize asked") << u"bill"_s << u"appmenu:minimize,close"_s << close;
        QTest::newRow("about, layout unknown") << u"about"_s << QString() << close;
        QTest::newRow("about, minimize asked")
            << u"about"_s << u"minimize,close:"_s << QStringList{u"close left"_s};
    }

    // As the layout is when the window opens, and as it becomes while the window is open.
    void boxesFollowTheWindowAndTheDesktopsLayout()
    {
        QFETCH(QString, window);
        QFETCH(QString, layout);
        QFETCH(QStringList, boxes);
        {
            const ButtonLayoutScope scope(layout);
            WindowSession session(WindowSession::at(2026, 12, 7, 10), tk::TitleBars::OwnAlways);
            QCOMPARE(shownBoxes(*show(session, window)), boxes);
        }
        WindowSession session(WindowSession::at(2026, 12, 7, 10), tk::TitleBars::OwnAlways);
        QWidget *shown = show(session, window);
        const ButtonLayoutScope scope(layout);
        QCOMPARE(shownBoxes(*shown), boxes);
    }

    void boxesCloseAndMinimizeTheirWindow()
    {
        WindowSession session(WindowSession::at(2026, 12, 7, 10), tk::TitleBars::OwnAlways);
        QWidget *window = show(session, u"main"_s);
        QTest::mouseClick(window->findChild<QWidget *>(u"minimize"_s), Qt::LeftButton);
        QVERIFY(window->isMinimized());
        QVERIFY(session.program().find<Form1>());
        QTest::mouseClick(window->findChild<QWidget *>(u"close"_s), Qt::LeftButton);
        QVERIFY(!session.program().find<Form1>());
    }

    // Each window grows by its bar and an outline, and its contents move with them, so that none is cut off.
    void windowsGrowByTheirBarAndOutline_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main") << u"main"_s;
        QTest::newRow("bill") << u"bill"_s;
        QTest::newRow("about") << u"about"_s;
    }

    void windowsGrowByTheirBarAndOutline()
    {
        QFETCH(QString, window);
        const auto places = [](const QWidget &shown) {
            QList<QRect> found;
            for (const QWidget *child : shown.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                found << child->geometry();
            return found;
        };
        QSize size;
        QList<QRect> framed;
        {
            WindowSession session(WindowSession::at(2026, 12, 7, 10));
            const QWidget *shown = show(session, window);
            size = shown->size();
            framed = places(*shown);
        }
        WindowSession session(WindowSession::at(2026, 12, 7, 10), tk::TitleBars::OwnAlways);
        const QWidget *own = show(session, window);
        const QWidget *bar = barOf(*own);
        QVERIFY(bar->height() >= 30);
        QCOMPARE(own->size(), size + QSize(2, bar->height() + 2));
        QCOMPARE(own->minimumSize(), own->maximumSize());
        QList<QRect> moved;
        for (const QRect &place : std::as_const(framed))
            moved << place.translated(1, bar->height() + 1);
        QCOMPARE(places(*own), moved << bar->geometry());
    }

    // What reaches the screen: the bar shows the title as it changes, as during a call every second.
    void theScreenShowsEachNewTitle()
    {
        WindowSession session(WindowSession::at(2026, 12, 7, 10), tk::TitleBars::OwnAlways);
        QWidget *window = show(session, u"main"_s);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect bar = barOf(*window)->geometry();
        const auto onScreen = [&] {
            return window->screen()
                ->grabWindow(window->winId(), bar.x(), bar.y(), bar.width(), bar.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        const auto drawn = [&] {
            return barOf(*window)->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        // QTest::qWaitFor, not QTRY_COMPARE: Qt 6.8's QTRY_* macros narrow their timeout to an int in the
        // caller's code, which -Wconversion rejects.
        QVERIFY(QTest::qWaitFor([&] { return onScreen() == drawn(); }));
        const QImage before = onScreen();
        WindowSession::click(session.program().form<Form1>(), "Command1");
        session.seconds(1);
        session.program().flush();
        QVERIFY(drawn() != before);
        QVERIFY(QTest::qWaitFor([&] { return onScreen() == drawn(); }));
    }
};

QTEST_MAIN(TitleBarTest)
#include "title_bar_test.moc"
