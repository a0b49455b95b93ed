#include "form.h"

#include "accessibility.h"
#include "check_box.h"
#include "command_button.h"
#include "form_builder.h"
#include "label.h"
#include "menu_item.h"
#include "native_window.h"
#include "program.h"
#include "timer.h"
#include "title_bar.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tk {

namespace {

// Centred on the screen with its frame, placed by its client area, which Qt always places alike. A window
// larger than the screen keeps the frame's top-left corner on it, and with it the title bar and the menu.
void placeCentred(QWidget &window, QMargins frameExtents)
{
    const QMarginsF frame = QMarginsF(frameExtents) / window.devicePixelRatioF();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSizeF outer = QSizeF(window.size()).grownBy(frame);
    const QPoint client(
        qRound(screen.x() + std::max(0.0, (screen.width() - outer.width()) / 2) + frame.left()),
        qRound(screen.y() + std::max(0.0, (screen.height() - outer.height()) / 2) + frame.top()));
    window.setGeometry(QRect(client, window.size()));
}

} // namespace

Form::Form(Program &program, const FormLayout &layout)
    : Mirror(program), program_(program), caption_(QString::fromUtf8(layout.caption)),
      inTaskBar_(layout.inTaskBar)
{
    window_ = buildForm(*this, layout, controls_);
    // Timers that the layout enables start as soon as the window exists, in stored order.
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].kind == Kind::Timer && layout.controls[i].enabled)
            static_cast<Timer &>(*controls_[i]).setEnabled(true);
    }
}

// The widgets go first: their connections call into the controls.
Form::~Form()
{
    delete window_;
    controls_.clear();
}

Control &Form::control(std::string_view name) const
{
    for (const auto &control : controls_) {
        if (control->name() == name)
            return *control;
    }
    qFatal("%s has no control named %.*s", qPrintable(window_->objectName()), int(name.size()), name.data());
}

template <class C> C &Form::control(std::string_view name) const
{
    auto *found = dynamic_cast<C *>(&control(name));
    if (!found)
        qFatal("%.*s is not of the kind asked for", int(name.size()), name.data());
    return *found;
}

template Label &Form::control<Label>(std::string_view) const;
template BoxControl &Form::control<BoxControl>(std::string_view) const;
template CommandButton &Form::control<CommandButton>(std::string_view) const;
template CheckBox &Form::control<CheckBox>(std::string_view) const;
template Timer &Form::control<Timer>(std::string_view) const;
template MenuItem &Form::control<MenuItem>(std::string_view) const;

void Form::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    changed();
}

void Form::updateWidget()
{
    // An empty title goes to Qt as none at all, which it leaves empty (see Application).
    setUnannouncedTitle(window_, caption_.isEmpty() ? QString() : caption_);
    setIconName(*window_, caption_);
}

void Form::show()
{
    if (!loaded_)
        return;
    if (!shown_) {
        shown_ = true;
        if (!windowSystemFramesWindows())
            addTitleBar(*window_);
        prepareNativeWindow(*window_, caption_, inTaskBar_);
        // A window manager that tells the frame only once the window is mapped (KWin) gets the last frame
        // it told, and the window is centred again should its own differ: no jump after the first window.
        const std::optional<QMargins> frame = frameExtents(*window_);
        placeCentred(*window_, frame.value_or(lastFrameExtents()));
        if (!frame) {
            whenFramed(*window_, [window = window_, placed = lastFrameExtents()](QMargins framed) mutable {
                if (framed != std::exchange(placed, framed))
                    placeCentred(*window, framed);
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

// A minimized window kept out of the task bar would have no way back where the window manager minimized
// it against the window's wish: while minimized, it is in the task bar.
void Form::windowStateChanged()
{
    if (!inTaskBar_ && shown_)
        showInTaskBar(*window_, minimized());
}

void Form::minimize()
{
    window_->setWindowState(window_->windowState() | Qt::WindowMinimized);
}

bool Form::minimized() const
{
    return window_->windowState().testFlag(Qt::WindowMinimized);
}

void Form::unload()
{
    program_.unload(*this);
}

LocalMoment Form::now() const
{
    return program_.now();
}

void Form::close()
{
    loaded_ = false;
    for (const auto &control : controls_) {
        if (auto *timer = dynamic_cast<Timer *>(control.get()))
            timer->setEnabled(false);
    }
    window_->hide();
}

} // namespace tk
