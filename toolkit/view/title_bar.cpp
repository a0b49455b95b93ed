#include "title_bar.h"

#include "screen_reader.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace tk {

namespace {

class TitleBar final : public QWidget
{
public:
    TitleBar(QWidget &window, bool minimizable) : QWidget(&window), window_(window), minimizable_(minimizable)
    {
        QFont bold = QApplication::font();
        bold.setBold(true);
        setFont(bold);
        setFixedSize(window.width(), std::max(30, fontMetrics().height() + 12));
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
        int left = 6;
        if (!window_.windowIcon().isNull()) {
            window_.windowIcon().paint(&painter, QRect(left, 6, iconSide, iconSide));
            left += iconSide + 6;
        }
        const QColor ink = window_.isActiveWindow()
                               ? palette().color(QPalette::Active, QPalette::WindowText)
                               : palette().color(QPalette::Disabled, QPalette::WindowText);
        QPen pen(ink, 2);
        painter.setPen(pen);
        const QRect close = box(0);
        const int inset = close.width() / 4;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawLine(close.topLeft() + QPoint(inset, inset), close.bottomRight() - QPoint(inset, inset));
        painter.drawLine(close.topRight() + QPoint(-inset, inset),
                         close.bottomLeft() + QPoint(inset, -inset));
        if (minimizable()) {
            const QRect minimize = box(1);
            painter.drawLine(minimize.left() + inset, minimize.bottom() - inset, minimize.right() - inset,
                             minimize.bottom() - inset);
        }
        const int right = box(minimizable() ? 1 : 0).left() - 6;
        const QRect titleArea(left, 0, right - left, height());
        const QString title =
            fontMetrics().elidedText(window_.windowTitle(), Qt::ElideRight, titleArea.width());
        painter.drawText(titleArea, Qt::AlignCenter, title);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        pressed_ = boxAt(event->position().toPoint());
        if (pressed_ < 0 && event->button() == Qt::LeftButton && window_.windowHandle())
            window_.windowHandle()->startSystemMove();
    }

    // A box acts where the press began and ended in it, as a button does.
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const int released = boxAt(event->position().toPoint());
        if (event->button() != Qt::LeftButton || released < 0 || released != std::exchange(pressed_, -1))
            return;
        if (released == 0)
            window_.close();
        else
            window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
    }

private:
    bool minimizable() const { return minimizable_; }

    // The boxes from the right: close (0), then minimize (1).
    QRect box(int fromRight) const
    {
        const int side = height() - 10;
        return QRect(width() - (side + 6) * (fromRight + 1), 5, side, side);
    }

    int boxAt(QPoint point) const
    {
        for (int i = 0; i < (minimizable() ? 2 : 1); ++i) {
            if (box(i).contains(point))
                return i;
        }
        return -1;
    }

    QWidget &window_;
    const bool minimizable_;
    int pressed_ = -1;
};

} // namespace

void addTitleBar(QWidget &window)
{
    auto *bar = new TitleBar(window, window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    setDecorative(bar);
    const int height = bar->height();
    for (QObject *child : window.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget != bar)
            widget->move(widget->x(), widget->y() + height);
    }
    // Qt keeps a frame for a window that names the boxes of its title bar.
    window.setWindowFlags((window.windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    window.setFixedSize(window.width(), window.height() + height);
    bar->move(0, 0);
}

} // namespace tk
