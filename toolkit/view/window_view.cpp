#include "window_view.h"

#include "announcements.h"
#include "check_box.h"
#include "desktop_settings.h"
#include "form.h"
#include "form_builder.h"
#include "form_window.h"
#include "label.h"
#include "native_window.h"
#include "screen_reader.h"
#include "style.h"
#include "title_bar.h"
#include "units.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <optional>
#include <utility>

namespace tk {

namespace {

// Positions may run far outside the container; the box stays just outside then.
void moveBox(QWidget &box, float top)
{
    const float height = float(box.height() * twipsPerPixel);
    const float below = float((box.parentWidget()->height() + 1) * twipsPerPixel);
    const QRect from = box.geometry();
    box.move(box.x(), pixels(std::clamp(top, -height - twipsPerPixel, below)));
    reportMove(&box, from);
}

// A right-aligned value whose caption outgrows its box, as the hours of a call of more than four days do,
// widens to the left, into the room that its heading leaves, so that every digit shows.
void fitWidth(QLabel &label, const ControlLayout &row)
{
    if (!(label.alignment() & Qt::AlignRight))
        return;
    const int text = label.fontMetrics().horizontalAdvance(label.text()) + label.contentsMargins().left() +
                     label.contentsMargins().right() + 2 * label.margin();
    const int width = std::max(pixels(row.box.width), text);
    if (width == label.width())
        return;
    const int right = label.x() + label.width();
    label.setGeometry(right - width, label.y(), width, label.height());
}

// A hidden label only holds a value and is never drawn: its widget is left alone, so that screen readers do
// not hear of every change of a value that no one sees.
void showCaption(QLabel &label, const QString &caption, const ControlLayout &row)
{
    if (label.text() == caption || label.isHidden())
        return;
    label.setText(caption);
    fitFont(label, caption);
    fitWidth(label, row);
    if (row.announcement)
        announce(&label, QString::fromUtf8(row.announcement).arg(caption));
}

} // namespace

WindowView::WindowView(Form &form, TitleBars titleBars)
    : form_(form), titleBars_(titleBars), window_(buildForm(form, widgets_))
{
    QObject::connect(window_, &FormWindow::closed, window_, [this] { windowClosed(); });
    QObject::connect(window_, &FormWindow::windowStateChanged, window_, [this] { windowStateChanged(); });
    QObject::connect(&DesktopSettings::session(), &DesktopSettings::highContrastChanged, window_,
                     [this] { colourForm(*window_, form_.layout(), widgets_); });
}

// The widgets' connections call into the controls, which outlive the view.
WindowView::~WindowView()
{
    delete window_;
}

QWidget *WindowView::window() const
{
    return window_;
}

void WindowView::captionChanged()
{
    // An empty title goes to Qt as none at all, which it leaves empty (see Application).
    const QString &caption = form_.caption();
    setUnannouncedTitle(window_, caption.isEmpty() ? QString() : caption);
    setIconName(*window_, caption);
}

void WindowView::controlChanged(const Control &control)
{
    const ControlLayout &row = form_.layout().controls[control.index()];
    if (row.kind != Kind::Label && row.kind != Kind::Image)
        return;
    QWidget &box = *widgets_[control.index()];
    moveBox(box, static_cast<const BoxControl &>(control).top());
    if (row.kind == Kind::Label)
        showCaption(static_cast<QLabel &>(box), static_cast<const Label &>(control).caption(), row);
}

// A box disabled in focus hands the focus to the window's first control, not to the next one, which Qt would
// choose: a Space meant for the button just pressed would tick or untick that one unseen.
void WindowView::enabledChanged(const CheckBox &box)
{
    QWidget *widget = widgets_[box.index()];
    QWidget *first = window_->firstTabStop();
    if (!box.enabled() && widget->hasFocus() && first && first != widget)
        first->setFocus(Qt::OtherFocusReason);
    widget->setEnabled(box.enabled());
}

void WindowView::show()
{
    if (!shown_) {
        shown_ = true;
        if (titleBars_ == TitleBars::OwnAlways || !windowSystemFramesWindows())
            addTitleBar(*window_);
        prepareNativeWindow(*window_, form_.caption(), form_.layout().inTaskBar);
        // A window manager that tells the frame only once the window is mapped (KWin) gets the last frame
        // it told, and the window is centred again should its own differ: no jump after the first window.
        const std::optional<QMargins> frame = frameExtents(*window_);
        place(frame.value_or(lastFrameExtents()));
        if (!frame) {
            whenFramed(*window_, [this, placed = lastFrameExtents()](QMargins framed) mutable {
                if (framed != std::exchange(placed, framed))
                    place(framed);
            });
        }
    }
    // Shown again, a window that was minimized comes back: one kept out of the task bar has no other way.
    if (minimized())
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    if (window_->isVisible()) {
        window_->raise();
        window_->activateWindow();
        return;
    }
    window_->show();
}

// Centred on the screen with its frame, placed by its client area, which Qt always places alike. A window
// larger than the screen keeps the frame's top-left corner on it, and with it the title bar and the menu.
void WindowView::place(QMargins frameExtents)
{
    const QMarginsF frame = QMarginsF(frameExtents) / window_->devicePixelRatioF();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSizeF outer = QSizeF(window_->size()).grownBy(frame);
    const QPoint client(
        qRound(screen.x() + std::max(0.0, (screen.width() - outer.width()) / 2) + frame.left()),
        qRound(screen.y() + std::max(0.0, (screen.height() - outer.height()) / 2) + frame.top()));
    window_->setGeometry(QRect(client, window_->size()));
}

// A minimized window kept out of the task bar would have no way back where the window manager minimized
// it against the window's wish: while minimized, it is in the task bar.
void WindowView::windowStateChanged()
{
    if (!form_.layout().inTaskBar && shown_)
        showInTaskBar(*window_, minimized());
}

void WindowView::windowClosed()
{
    if (form_.loaded())
        form_.unload();
}

void WindowView::minimize()
{
    window_->setWindowState(window_->windowState() | Qt::WindowMinimized);
}

bool WindowView::minimized() const
{
    return window_->windowState().testFlag(Qt::WindowMinimized);
}

void WindowView::close()
{
    window_->hide();
}

} // namespace tk
