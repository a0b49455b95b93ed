#include "style.h"

#include "units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <list>

#include <string_view>

namespace tk {

namespace {

bool installed(const QString &family)
{
    static const QStringList installedFamilies = QFontDatabase::families();
    return installedFamilies.contains(family, Qt::CaseInsensitive);
}

// The faces the layouts name, each followed by a free face of the same metrics, or the closest one. Faces
// that this machine lacks are left out: for each of those, Qt would first have the font system rank every
// installed font as a substitute, only to take the next face named after all.
QStringList families(std::string_view face)
{
    QStringList named{QString::fromLatin1(face)};
    if (face == "Times New Roman" || face == "MS Serif")
        named << QStringLiteral("Liberation Serif");
    else if (face == "Verdana")
        named << QStringLiteral("DejaVu Sans");
    named << QStringLiteral("Liberation Sans");
    QStringList families;
    for (const QString &family : std::as_const(named)) {
        if (installed(family))
            families << family;
    }
    return families.isEmpty() ? named : families;
}

constexpr Font userInterfaceFont{"MS Sans Serif", 8.25};

// The face colour the layouts were drawn on: the silver that their labels name is meant to match it.
constexpr Rgb classicFace = 0xC0C0C0;

// The layouts give check boxes 13 pixels of height, the classic indicator's size; Fusion draws a 14-pixel
// one and would lose its bottom edge. Every other metric stays Fusion's.
class ClassicStyle final : public QProxyStyle
{
public:
    ClassicStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return 13;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    // A click anywhere in a check box's box toggles it. Fusion takes only the indicator and the text, and
    // the layouts' boxes have no text and are wider than the indicator.
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override
    {
        if (element == SE_CheckBoxClickRect && option)
            return option->rect;
        return QProxyStyle::subElementRect(element, option, widget);
    }

    // A menu bar here never overflows, so the arrow of its overflow button is never seen; Qt would read it
    // from a file while building the menu bar, loading every image plugin to do so.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton)
            return {};
        return QProxyStyle::standardIcon(icon, option, widget);
    }

    // Fusion keeps what it draws in Qt's pixmap cache under the identity of the palette it draws with, and
    // every widget's palette has one of its own: each window opened would add its drawings, never asked for
    // again once it closed, until the cache's 10 MB were full, and their names for good. Drawn with one
    // palette for each set of colours, a window opened again finds its drawings there.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        const SharedPalette shared(*this, option);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const SharedPalette shared(*this, option);
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const SharedPalette shared(*this, option);
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

private:
    // Lends the option the shared palette of its colours while it is drawn.
    class SharedPalette
    {
    public:
        SharedPalette(const ClassicStyle &style, const QStyleOption *option)
            : option_(const_cast<QStyleOption *>(option)), own_(option ? option->palette : QPalette())
        {
            if (option_) {
                // Palettes that compare equal may be in different colour groups: an inactive window's focus
                // frame is drawn in the inactive group's colours.
                option_->palette = style.shared(own_);
                option_->palette.setCurrentColorGroup(own_.currentColorGroup());
            }
        }
        ~SharedPalette()
        {
            if (option_)
                option_->palette = own_;
        }
        SharedPalette(const SharedPalette &) = delete;
        SharedPalette &operator=(const SharedPalette &) = delete;

    private:
        QStyleOption *option_;
        QPalette own_;
    };

    const QPalette &shared(const QPalette &palette) const
    {
        const auto found = std::find(palettes_.begin(), palettes_.end(), palette);
        return found != palettes_.end() ? *found : palettes_.emplace_back(palette);
    }

    mutable std::list<QPalette> palettes_;
};

} // namespace

QColor colour(Rgb rgb)
{
    return QColor::fromRgb(QRgb(rgb));
}

void applyStandardLook()
{
    // Pixel-exact layouts need the metrics they were checked with, not those of the desktop's own style.
    if (!dynamic_cast<ClassicStyle *>(QApplication::style()))
        QApplication::setStyle(new ClassicStyle);
    // These also drop the palettes and fonts that a desktop's theme keeps for widget classes such as the
    // menu bar, so that nothing stands out from the face.
    QApplication::setPalette(QPalette(colour(classicFace)));
    QApplication::setFont(font(std::nullopt));
}

QColor standardFace()
{
    return QApplication::palette().color(QPalette::Window);
}

QColor standardText()
{
    return QApplication::palette().color(QPalette::WindowText);
}

QFont font(const std::optional<Font> &font)
{
    const Font &chosen = font ? *font : userInterfaceFont;
    QFont result;
    result.setFamilies(families(chosen.face));
    result.setPixelSize(fontPixels(chosen.points));
    result.setBold(chosen.bold);
    result.setStyleStrategy(QFont::NoFontMerging);
    return result;
}

// Fonts are asked for without falling back to other faces, which keeps start-up quick. A text in a script
// that the face lacks, such as a weekday's name in Arabic, would then show as empty boxes.
void fitFont(QWidget &widget, QStringView text)
{
    QFont font = widget.font();
    if (font.styleStrategy() != QFont::NoFontMerging ||
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return;
    const QFontMetrics metrics(font);
    const QList<uint> letters = text.toUcs4();
    if (std::all_of(letters.begin(), letters.end(), [&](uint letter) { return metrics.inFontUcs4(letter); }))
        return;
    font.setStyleStrategy(QFont::PreferDefault);
    widget.setFont(font);
}

} // namespace tk
