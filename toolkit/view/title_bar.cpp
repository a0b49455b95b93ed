#include "title_bar.h"

#include "desktop_settings.h"
#include "native_window.h"
#include "screen_reader.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <array>
#include <functional>
#include <ranges>

using namespace Qt::StringLiterals;

namespace tk {

namespace {

constexpr int outline = 1;
constexpr int spacing = 6;

// The boxes on each side of the bar, as the desktop's button layout names them, those left of the colon
// on the left, each side from left to right: "appmenu:minimize,close". Where the layout is unknown, the
// bar keeps minimize and close on the right.
std::array<QStringList, 2> sides(QString layout)
{
    if (layout.isEmpty())
        layout = u":minimize,close"_s;
    const qsizetype colon = layout.indexOf(u':');
    return {layout.left(colon).split(u','), colon < 0 ? QStringList() : layout.mid(colon + 1).split(u',')};
}

// A box of the title bar, drawn as the desktop's own: a glyph on a round ground of the text's colour, faint
// at rest, deeper under the pointer and deeper still while pressed. It acts where a left press began and
// ended in it, as a button does; any other press goes to the bar.
class TitleBox final : public QWidget
{
public:
    TitleBox(QWidget &bar, const QString &name, int side, std::function<void()> command)
        : QWidget(&bar), command_(std::move(command))
    {
        setObjectName(name);
        setFixedSize(side, side);
    }

protected:
    void enterEvent(QEnterEvent *) override { setHovered(true); }
    void leaveEvent(QEvent *) override { setHovered(false); }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        pressed_ = true;
        update();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        setHovered(rect().contains(event->position().toPoint()));
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || !std::exchange(pressed_, false))
            return;
        update();
        if (rect().contains(event->position().toPoint()))
            command_();
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor ground = palette().color(QPalette::Active, QPalette::WindowText);
        ground.setAlphaF(pressed_ && hovered_ ? 0.3f : hovered_ ? 0.15f : 0.1f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ground);
        painter.drawEllipse(QRectF(rect()));
        const QColor ink = window()->isActiveWindow()
                               ? palette().color(QPalette::Active, QPalette::WindowText)
                               : palette().color(QPalette::Disabled, QPalette::WindowText);
        painter.setPen(QPen(ink, 1.5));
        const QRectF glyph = QRectF(rect()).marginsRemoved(QMarginsF(1, 1, 1, 1) * (width() * 0.34));
        if (objectName() == u"close"_s) {
            painter.drawLine(glyph.topLeft(), glyph.bottomRight());
            painter.drawLine(glyph.topRight(), glyph.bottomLeft());
        } else {
            painter.drawLine(glyph.bottomLeft(), glyph.bottomRight());
        }
    }

private:
    void setHovered(bool hovered)
    {
        if (std::exchange(hovered_, hovered) != hovered)
            update();
    }

    std::function<void()> command_;
    bool hovered_ = false;
    bool pressed_ = false;
};

class TitleBar final : public QWidget
{
public:
    explicit TitleBar(QWidget &window) : QWidget(&window), window_(window)
    {
        QFont bold = QApplication::font();
        bold.setBold(true);
        setFont(bold);
        setFixedSize(window.width(), std::max(30, fontMetrics().height() + 12));
        const int side = height() - 8;
        boxes_.push_back(new TitleBox(*this, u"close"_s, side, [&window] { window.close(); }));
        if (window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) {
            boxes_.push_back(new TitleBox(*this, u"minimize"_s, side, [&window] {
                window.setWindowState(window.windowState() | Qt::WindowMinimized);
            }));
        }
        placeBoxes();
        connect(&DesktopSettings::session(), &DesktopSettings::buttonLayoutChanged, this,
                &TitleBar::placeBoxes);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange:
            update();
            break;
        case QEvent::Paint:
            paintOutline();
            break;
        default:
            break;
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QPalette::ColorGroup group = window_.isActiveWindow() ? QPalette::Active : QPalette::Inactive;
        painter.fillRect(rect(), palette().color(group, QPalette::Window).darker(115));
        painter.setPen(palette().color(group, QPalette::Mid));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
        const int iconSide = height() - 12;
        int left = titleLeft_;
        if (!window_.windowIcon().isNull()) {
            window_.windowIcon().paint(&painter, QRect(left, 6, iconSide, iconSide));
            left += iconSide + spacing;
        }
        painter.setPen(window_.isActiveWindow() ? palette().color(QPalette::Active, QPalette::WindowText)
                                                : palette().color(QPalette::Disabled, QPalette::WindowText));
        const QRect titleArea(left, 0, titleRight_ - left, height());
        const QString title =
            fontMetrics().elidedText(window_.windowTitle(), Qt::ElideRight, titleArea.width());
        painter.drawText(titleArea, Qt::AlignCenter, title);
    }

    // A left press moves the window and a right one opens the window menu, as on the desktop's own title
    // bars. A double click would maximize there, and a middle click does nothing: these windows cannot be
    // maximized.
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && window_.windowHandle())
            window_.windowHandle()->startSystemMove();
        else if (event->button() == Qt::RightButton)
            showWindowMenu(window_, mapTo(&window_, event->position().toPoint()));
    }

private:
    // Places each box that the window has where the layout names it first, and hides the others.
    void placeBoxes()
    {
        const auto [left, right] = sides(DesktopSettings::session().buttonLayout());
        for (TitleBox *box : boxes_)
            box->hide();
        const auto unplaced = [this](const QString &name) -> TitleBox * {
            for (TitleBox *box : boxes_) {
                if (box->objectName() == name.trimmed() && box->isHidden())
                    return box;
            }
            return nullptr;
        };
        const int top = (height() - boxes_.front()->height()) / 2;
        titleLeft_ = spacing;
        for (const QString &name : left) {
            if (TitleBox *box = unplaced(name)) {
                box->move(titleLeft_, top);
                box->show();
                titleLeft_ += box->width() + spacing;
            }
        }
        titleRight_ = width() - spacing;
        for (const QString &name : std::views::reverse(right)) {
            if (TitleBox *box = unplaced(name)) {
                titleRight_ -= box->width();
                box->move(titleRight_, top);
                box->show();
                titleRight_ -= spacing;
            }
        }
        update();
    }

    // A line round the whole window, as the desktop's own windows have, tells it apart from a window of the
    // same colour behind it.
    void paintOutline()
    {
        QPainter painter(&window_);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(window_.rect().adjusted(0, 0, -1, -1));
    }

    QWidget &window_;
    std::vector<TitleBox *> boxes_;
    int titleLeft_ = 0;
    int titleRight_ = 0;
};

} // namespace

void addTitleBar(QWidget &window)
{
    auto *bar = new TitleBar(window);
    setDecorative(bar);
    const QPoint offset(outline, outline + bar->height());
    for (QObject *child : window.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget != bar)
            widget->move(widget->pos() + offset);
    }
    // Qt keeps a frame for a window that names the boxes of its title bar.
    window.setWindowFlags((window.windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    window.setFixedSize(window.size() + QSize(2 * outline, bar->height() + 2 * outline));
    bar->move(outline, outline);
}

} // namespace tk
