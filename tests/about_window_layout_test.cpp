#include "window_session.h"

#include <form1.h>
#include <form3.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 tick = 100;

QWidget *viewport(const Form3 &form)
{
    return tk::windowOf(form)->findChild<QWidget *>(u"Picture1Inside"_s);
}

// The credit items of which some part shows in the viewport, once the widgets have caught up.
QStringList inView(tk::Program &program, const Form3 &form)
{
    program.flush();
    const QWidget *area = viewport(form);
    QStringList names;
    for (const QWidget *item : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (item->isVisible() && item->geometry().intersects(area->rect()))
            names << item->objectName();
    }
    return names;
}

QRect viewportInWindow(const Form3 &form)
{
    const QWidget *area = viewport(form);
    return {area->mapTo(tk::windowOf(form), QPoint(0, 0)), area->size()};
}

// How many pixels outside the viewport differ between two pictures of the window.
int changedOutsideViewport(const QImage &before, const QImage &after, QRect viewportArea)
{
    int changed = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (!viewportArea.contains(x, y) && before.pixel(x, y) != after.pixel(x, y))
                ++changed;
        }
    }
    return changed;
}

bool hasGreen(const QImage &image, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGreen(image.pixel(x, y)) > 0x80 && qBlue(image.pixel(x, y)) < 0x40)
                return true;
        }
    }
    return false;
}

} // namespace

// The about window as built, against its layout table, in pixels.
class AboutWindowLayoutTest : public QObject
{
    Q_OBJECT

    WindowSession session{WindowSession::at(2026, 12, 7, 10)};
    Form3 *form = nullptr;

    QWidget *widget(const QString &name) const { return tk::windowOf(*form)->findChild<QWidget *>(name); }

private slots:
    void initTestCase()
    {
        form = &session.program().show<Form3>();
        session.program().flush();
    }

    void windowIsAFixedDialogWithoutIconOrMinimizeBox()
    {
        QWidget *window = tk::windowOf(*form);
        QCOMPARE(window->windowTitle(), u"Něco o..."_s);
        QCOMPARE(window->size(), QSize(297, 199));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->windowType(), Qt::Dialog);
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowIcon().isNull());
    }

    void controls_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("fontPixels");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("ground");

        const QString window; // the client area
        const QString title = u"Picture2Inside"_s;
        const QString viewport = u"Picture1Inside"_s;
        const QColor black(Qt::black);
        const QColor navy(0x00, 0x00, 0x80);
        const QColor darkRed(0xC0, 0x00, 0x00);
        const QColor green(0x00, 0xC0, 0x00);
        const auto row = [](const char *name, const QString &in, QRect box, const QString &caption = {},
                            int pixels = 11, bool bold = false, QColor text = Qt::black,
                            QColor ground = QColor(0xC0, 0xC0, 0xC0)) {
            QTest::newRow(name) << in << box << caption << pixels << bold << text << ground;
        };
        row("Picture2", window, {8, 8, 281, 41}, {}, 11, false, black, navy);
        row("Label1", title, {40, 0, 201, 41}, u"ZELVOR"_s, 32, true, darkRed, navy);
        row("Command2", window, {152, 168, 73, 25}, u"&Konec"_s);
        row("Command1", window, {64, 168, 81, 25}, u"&Znovu"_s);
        row("Picture1", window, {8, 56, 281, 105}, {}, 11, false, black, navy);
        row("Label14", viewport, {8, 424, 257, 17}, {}, 13, false, green, navy);
        row("Label13", viewport, {8, 408, 257, 17}, {}, 13, false, green, navy);
        row("Label12", viewport, {8, 392, 257, 17}, {}, 13, false, green, navy);
        row("Label11", viewport, {8, 376, 257, 17}, {}, 13, false, green, navy);
        row("Label10", viewport, {8, 320, 257, 17}, u"Distribuce"_s, 13, false, green, navy);
        row("Image2", viewport, {88, 336, 110, 35});
        row("Label9", viewport, {32, 288, 209, 17}, {}, 13, false, green, navy);
        row("Label8", viewport, {32, 272, 209, 17}, {}, 13, false, green, navy);
        row("Label7", viewport, {32, 256, 209, 17}, {}, 13, false, green, navy);
        row("Label6", viewport, {32, 240, 209, 17}, {}, 13, false, green, navy);
        row("Label5", viewport, {16, 200, 241, 17}, {}, 13, false, green, navy);
        row("Label4", viewport, {16, 184, 241, 17}, {}, 13, false, green, navy);
        row("Label3", viewport, {16, 168, 241, 17}, {}, 13, false, green, navy);
        row("Label2", viewport, {16, 136, 241, 17}, {}, 13, false, green, navy);
    }

    void controls()
    {
        QFETCH(QString, container);
        QFETCH(QRect, box);
        QFETCH(QString, caption);
        QFETCH(int, fontPixels);
        QFETCH(bool, bold);
        QFETCH(QColor, text);
        QFETCH(QColor, ground);

        QWidget *control = widget(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), container);
        QCOMPARE(control->geometry(), box);
        QVERIFY(control->isVisible());
        QVERIFY(control->isEnabled());
        if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->font().pixelSize(), fontPixels);
            return;
        }
        auto *label = qobject_cast<QLabel *>(control);
        if (label && !label->pixmap().isNull()) {
            QCOMPARE(label->pixmap().deviceIndependentSize(), QSizeF(box.size()));
            return;
        }
        QCOMPARE(control->palette().color(QPalette::Window), ground);
        QVERIFY(control->autoFillBackground());
        if (!label)
            return;
        if (!caption.isEmpty())
            QCOMPARE(label->text(), caption);
        QCOMPARE(label->font().pixelSize(), fontPixels);
        QCOMPARE(label->font().bold(), bold);
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
        QVERIFY(label->wordWrap());
    }

    // A wrapped second line would fall outside the 17-pixel box and be lost.
    void everyCreditIsOneLineThatFitsItsBox()
    {
        const QList<QLabel *> labels = widget(u"Picture1Inside"_s)->findChildren<QLabel *>();
        QCOMPARE(labels.size(), 14);
        for (const QLabel *label : labels) {
            if (!label->pixmap().isNull())
                continue;
            QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
            QCOMPARE(QFontInfo(label->font()).family(), u"Liberation Serif"_s);
            const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
            QVERIFY2(width <= label->width(),
                     qPrintable(label->objectName() + u" needs "_s + QString::number(width)));
            QCOMPARE(label->heightForWidth(label->width()), label->fontMetrics().height());
        }
        QVERIFY(form->label("Label6").caption().contains(u'®'));
        QVERIFY(form->label("Label2").caption().contains(u'©'));
    }

    void theTitleFitsItsBox()
    {
        const auto *title = qobject_cast<QLabel *>(widget(u"Label1"_s));
        QVERIFY(QFontMetrics(title->font()).horizontalAdvance(title->text()) <= title->width());
    }

    void panelsClipToTheirInnerArea_data()
    {
        QTest::addColumn<QRect>("inner");
        QTest::newRow("Picture2") << QRect(2, 2, 277, 37);
        QTest::newRow("Picture1") << QRect(2, 2, 277, 101);
    }

    void panelsClipToTheirInnerArea()
    {
        QFETCH(QRect, inner);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QCOMPARE(widget(name + u"Inside"_s)->geometry(), inner);
        QCOMPARE(widget(name + u"Inside"_s)->parentWidget(), widget(name));
    }

    void theTimerWaitsForTheLoad()
    {
        WindowSession fresh(WindowSession::at(2026, 12, 7, 10));
        Form3 unloaded(fresh.program());
        QCOMPARE(unloaded.timer("Timer1").interval(), 100);
        QVERIFY(!unloaded.timer("Timer1").enabled());
        unloaded.Form_Load();
        QVERIFY(unloaded.timer("Timer1").enabled());
    }

    // The picture boxes take no focus, as no key does anything there: the window opens with the focus on
    // "Znovu", where a Space restarts the credits that have just started and never closes the window.
    void keyboardFocusFollowsTheTabOrder()
    {
        QWidget *window = tk::windowOf(*form);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Command1"_s);
        const float start = form->label("Label2").top();
        session.seconds(1);
        QCOMPARE_LT(form->label("Label2").top(), start);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(form->loaded());
        QCOMPARE(form->label("Label2").top(), start);
        QTest::keyClick(window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Command2"_s);
        QTest::keyClick(window, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Command1"_s);
    }

    // Pictures of the window as the credits pass: nothing outside the viewport's inner area ever changes.
    void creditsAreDrawnOnlyInsideTheViewport_data()
    {
        QTest::addColumn<qint64>("ticks");
        QTest::newRow("the rights line at the bottom edge") << qint64(26);
        QTest::newRow("the maker's name at the top edge") << qint64(150);
        QTest::newRow("the emblem at the top edge") << qint64(210);
        QTest::newRow("the last line leaving") << qint64(264);
    }

    void creditsAreDrawnOnlyInsideTheViewport()
    {
        QFETCH(qint64, ticks);
        WindowSession fresh(WindowSession::at(2026, 12, 7, 10));
        Form3 &about = fresh.program().show<Form3>();
        fresh.program().flush();
        const QRect area = viewportInWindow(about);
        const QImage empty = tk::windowOf(about)->grab().toImage();
        QVERIFY(!hasGreen(empty, empty.rect()));
        fresh.milliseconds(ticks * tick);
        fresh.program().flush();
        const QImage rolling = tk::windowOf(about)->grab().toImage();
        QCOMPARE(changedOutsideViewport(empty, rolling, area), 0);
        if (ticks < 264)
            QVERIFY(hasGreen(rolling, area));
    }

    // The farthest position there is, set directly: the view keeps every credit just out of sight, however
    // far, and brings it back from there.
    void farPositionsStayOutOfSight()
    {
        WindowSession fresh(WindowSession::at(2026, 12, 7, 10));
        Form3 &about = fresh.program().show<Form3>();
        for (const QWidget *item : viewport(about)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            about.boxControl(item->objectName().toStdString()).setTop(std::numeric_limits<float>::lowest());
        QCOMPARE(inView(fresh.program(), about), QStringList());
        WindowSession::click(about, "Command1");
        fresh.milliseconds(150 * tick);
        QCOMPARE(inView(fresh.program(), about).size(), 6);
    }

    // The about window has no task-bar entry to bring it back from, should a window manager minimize it.
    void choosingAboutBringsBackAMinimizedWindow()
    {
        WindowSession fresh(WindowSession::at(2026, 12, 7, 10));
        Form1 &main = fresh.program().show<Form1>();
        WindowSession::click(main, "mnuabout");
        Form3 *about = fresh.program().find<Form3>();
        about->minimize();
        QVERIFY(about->minimized());
        WindowSession::click(main, "mnuabout");
        QVERIFY(!about->minimized());
        QVERIFY(tk::windowOf(*about)->isVisible());
    }

    // A window closed, through its button or its frame, takes every widget of its own with it; chosen again,
    // it shows afresh.
    void aClosedWindowLeavesNoWidgetBehind()
    {
        WindowSession fresh(WindowSession::at(2026, 12, 7, 10));
        Form1 &main = fresh.program().show<Form1>();
        const qsizetype withMain = WindowSession::widgets();
        for (int time = 0; time < 2; ++time) {
            WindowSession::click(main, "mnuabout");
            Form3 *about = fresh.program().find<Form3>();
            QVERIFY(about);
            QVERIFY(tk::windowOf(*about)->isVisible());
            QCOMPARE_GT(WindowSession::widgets(), withMain);
            if (time == 0)
                WindowSession::click(*about, "Command2");
            else
                tk::windowOf(*about)->close();
            QCOMPARE(WindowSession::widgets(), withMain);
        }
    }
};

QTEST_MAIN(AboutWindowLayoutTest)
#include "about_window_layout_test.moc"
