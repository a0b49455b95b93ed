#include "style.h"

#include "desktop_settings.h"
#include "units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <cmath>
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

// Under high contrast: the face; the colour of the focused control's frame and of a highlighted menu, 11:1
// on white; and the field of a disabled check box, which sets it apart while its frame and mark stay black.
constexpr Rgb highContrastFace = 0xFFFFFF;
constexpr Rgb highContrastFocus = 0x0000C0;
constexpr Rgb highContrastDisabledField = 0xE0E0E0;
constexpr double highContrastRatio = 7;

bool highContrast()
{
    return DesktopSettings::session().highContrast();
}

// The relative luminance and the contrast ratio of the Web Content Accessibility Guidelines.
double luminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The ink mixed with black or white, whichever stands out more on the ground, in the least share that reads
// at 7:1: the same hue, only darker or lighter. Where even black or white would not read so, that one.
QColor readable(QRgb ink, QRgb ground)
{
    if (contrast(ink, ground) >= highContrastRatio)
        return QColor::fromRgb(ink);
    const QRgb end = contrast(qRgb(0, 0, 0), ground) >= contrast(qRgb(255, 255, 255), ground)
                         ? qRgb(0, 0, 0)
                         : qRgb(255, 255, 255);
    const auto mixed = [&](double share) {
        const auto channel = [&](int from, int to) { return int(std::lround(from + (to - from) * share)); };
        return qRgb(channel(qRed(ink), qRed(end)), channel(qGreen(ink), qGreen(end)),
                    channel(qBlue(ink), qBlue(end)));
    };
    double reads = 1;
    double fails = 0;
    while (reads - fails > 1.0 / 512) {
        const double share = (reads + fails) / 2;
        (contrast(mixed(share), ground) >= highContrastRatio ? reads : fails) = share;
    }
    return QColor::fromRgb(mixed(reads));
}

// Black on white, frames and bevels black, so that every line a control draws reads as its text does.
QPalette highContrastPalette()
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    QPalette palette(black, white, black, black, black, black, white, white,
                     QColor::fromRgb(highContrastFace));
    palette.setColor(QPalette::Midlight, black);
    palette.setColor(QPalette::Shadow, black);
    palette.setColor(QPalette::Highlight, QColor::fromRgb(highContrastFocus));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor::fromRgb(highContrastDisabledField));
    return palette;
}

void applyPalette()
{
    QApplication::setPalette(highContrast() ? highContrastPalette() : QPalette(colour(classicFace)));
}

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
    //
    // Under high contrast, Fusion's outlines of buttons and check boxes, a shade darker than the face, would
    // hardly show: they are drawn in the control's ink instead. The focused one's frame is widened inwards in
    // the highlight colour, plainly unlike the others: by two pixels on a button, by one in a check box's
    // small indicator, whose mark needs the rest. The menu bar is set off by a line below it.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        const bool framed = element == PE_PanelButtonCommand || element == PE_IndicatorCheckBox;
        const SharedPalette shared(*this, option, framed && highContrast());
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (framed && highContrast() && option->state.testFlag(State_HasFocus) &&
            option->state.testFlag(State_KeyboardFocusChange)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            const qreal width = element == PE_PanelButtonCommand ? 2 : 1;
            painter->setPen(QPen(option->palette.color(QPalette::Highlight), width));
            painter->setBrush(Qt::NoBrush);
            const qreal inset = 1 + width / 2;
            painter->drawRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset));
            painter->restore();
        }
    }
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const SharedPalette shared(*this, option);
        QProxyStyle::drawControl(element, option, painter, widget);
        if ((element == CE_MenuBarEmptyArea || element == CE_MenuBarItem) && highContrast()) {
            painter->save();
            painter->setPen(option->palette.color(QPalette::WindowText));
            painter->drawLine(option->rect.bottomLeft(), option->rect.bottomRight());
            painter->restore();
        }
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
        // Outlined in ink: the window colour, which Fusion darkens for outlines, is the ink's.
        SharedPalette(const ClassicStyle &style, const QStyleOption *option, bool outlinedInInk = false)
            : option_(const_cast<QStyleOption *>(option)), own_(option ? option->palette : QPalette())
        {
            if (option_) {
                QPalette drawn = own_;
                if (outlinedInInk) {
                    for (const QPalette::ColorGroup group :
                         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                        drawn.setBrush(group, QPalette::Window, own_.brush(group, QPalette::WindowText));
                }
                // Palettes that compare equal may be in different colour groups: an inactive window's focus
                // frame is drawn in the inactive group's colours.
                option_->palette = style.shared(drawn);
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
    if (!dynamic_cast<ClassicStyle *>(QApplication::style())) {
        auto *style = new ClassicStyle;
        QApplication::setStyle(style);
        QObject::connect(&DesktopSettings::session(), &DesktopSettings::highContrastChanged, style,
                         applyPalette);
    }
    // These also drop the palettes and fonts that a desktop's theme keeps for widget classes such as the
    // menu bar, so that nothing stands out from the face.
    applyPalette();
    QApplication::setFont(font(std::nullopt));
}

QColor standardFace()
{
    return colour(highContrast() ? highContrastFace : classicFace);
}

QColor standardText()
{
    return Qt::black;
}

QColor ground(std::optional<Rgb> named)
{
    return named && *named != classicFace ? colour(*named) : standardFace();
}

QColor ink(std::optional<Rgb> named, const QColor &ground)
{
    const QColor own = named ? colour(*named) : standardText();
    return highContrast() ? readable(own.rgb(), ground.rgb()) : own;
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
