#include "accessibility.h"

#include "form_window.h"
#include "shape_widget.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace tk {

namespace {

constexpr char decorativeProperty[] = "tkDecorative";
constexpr char labelProperty[] = "tkLabelledBy";
constexpr char placeProperty[] = "tkReadingPlace";
constexpr char watcherProperty[] = "tkWatcher";

QRect readingPlace(const QWidget *widget)
{
    const QVariant place = widget->property(placeProperty);
    return place.isValid() ? place.toRect() : widget->geometry();
}

QWidget *labelOf(const QWidget *control)
{
    return control->property(labelProperty).value<QWidget *>();
}

bool inView(const QWidget &widget, const QRect &geometry)
{
    return !widget.parentWidget() || geometry.intersects(widget.parentWidget()->rect());
}

// A label that names a check box or a button is read as the control's name, not once more on its own.
bool namesControl(const QWidget &widget)
{
    const auto *label = qobject_cast<const QLabel *>(&widget);
    return label && label->buddy();
}

QWidgetList shownWindows()
{
    QWidgetList shown = QApplication::topLevelWidgets();
    shown.removeIf([](const QWidget *window) { return !window->isVisible(); });
    return shown;
}

QString nameOf(const QWidget &window)
{
    const QString title = window.windowTitle();
    return title.isEmpty() ? window.accessibleName() : title;
}

// A unit of reading: a control, or an outline with the controls inside it.
struct Unit {
    QRect box;
    QWidgetList members;
};

// Top to bottom; units side by side, one spanning the other's height, form a row read left to right.
QWidgetList inReadingOrder(std::vector<Unit> units)
{
    const auto topFirst = [](const Unit &a, const Unit &b) {
        return std::pair(a.box.top(), a.box.left()) < std::pair(b.box.top(), b.box.left());
    };
    const auto leftFirst = [](const Unit &a, const Unit &b) {
        return std::pair(a.box.left(), a.box.top()) < std::pair(b.box.left(), b.box.top());
    };
    const auto sideBySide = [](const QRect &a, const QRect &b) {
        return (a.top() <= b.top() && b.bottom() <= a.bottom()) ||
               (b.top() <= a.top() && a.bottom() <= b.bottom());
    };
    std::sort(units.begin(), units.end(), topFirst);
    QWidgetList ordered;
    for (auto row = units.begin(); row != units.end();) {
        QRect span = row->box;
        auto end = std::next(row);
        for (; end != units.end() && sideBySide(span, end->box); ++end)
            span |= end->box;
        std::sort(row, end, leftFirst);
        for (; row != end; ++row)
            ordered += row->members;
    }
    return ordered;
}

std::vector<Unit> unitsOf(const QWidgetList &widgets)
{
    std::vector<Unit> units;
    for (QWidget *widget : widgets)
        units.push_back({readingPlace(widget), {widget}});
    return units;
}

// What a container holds, as a screen reader should read it.
QWidgetList readingOrder(const QWidget &container)
{
    std::vector<Unit> outlines;
    QWidgetList readable;
    for (QWidget *child : container.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (dynamic_cast<ShapeWidget *>(child) && !child->isHidden())
            outlines.push_back({readingPlace(child), {}});
        else if (!child->isWindow() && !child->isHidden() && !child->property(decorativeProperty).toBool() &&
                 !namesControl(*child) && inView(*child, child->geometry()))
            readable += child;
    }
    QWidgetList alone;
    for (QWidget *widget : std::as_const(readable)) {
        const auto outline = std::find_if(outlines.begin(), outlines.end(), [&](const Unit &unit) {
            return unit.box.contains(readingPlace(widget));
        });
        (outline == outlines.end() ? alone : outline->members) += widget;
    }
    std::vector<Unit> units = unitsOf(alone);
    for (Unit &outline : outlines) {
        if (outline.members.isEmpty())
            continue;
        outline.members = inReadingOrder(unitsOf(outline.members));
        units.push_back(std::move(outline));
    }
    return inReadingOrder(std::move(units));
}

// A widget that holds others: they are its children in reading order.
class Container : public QAccessibleWidget
{
public:
    Container(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return int(readingOrder(*widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = readingOrder(*widget());
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(readingOrder(*widget()).indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }
};

// A frame, or a dialog box. Qt 6.4 reports a Window as activated when it loses the focus, and as deactivated
// when it gains it, but tells screen readers that a Border is a frame too; Qt 6.8 calls a Border a panel.
constexpr QAccessible::Role frameRole =
    QT_VERSION < QT_VERSION_CHECK(6, 8, 0) ? QAccessible::Border : QAccessible::Window;

class Window final : public Container
{
public:
    explicit Window(QWidget *window)
        : Container(window, window->windowType() == Qt::Dialog ? QAccessible::Dialog : frameRole)
    {
    }

    QString text(QAccessible::Text t) const override;
};

// A label's caption or picture. A caption is read as it is shown, whatever it means: that travels as the
// description and by the label that heads it. A picture is named for what it shows.
class Label final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit Label(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QAccessible::Role role() const override
    {
        return picture() ? QAccessible::Graphic : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return picture() ? widget()->accessibleName() : caption();
        return QAccessibleWidget::text(t);
    }

    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        QList<QPair<QAccessibleInterface *, QAccessible::Relation>> found;
        if (QWidget *heading = labelOf(widget()); heading && match & QAccessible::Label)
            found.append({QAccessible::queryAccessibleInterface(heading), QAccessible::Label});
        if (match & QAccessible::Labelled) {
            for (QWidget *sibling :
                 widget()->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (labelOf(sibling) == widget())
                    found.append({QAccessible::queryAccessibleInterface(sibling), QAccessible::Labelled});
            }
        }
        return found;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface && !picture())
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(int startOffset, int endOffset) const override
    {
        return caption().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(caption().size()); }

    // Nothing can be selected, there is no cursor, and the text is short enough to need no geometry.
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    const QLabel *label() const { return static_cast<const QLabel *>(widget()); }
    QString caption() const { return label()->text(); }
    bool picture() const { return !label()->pixmap().isNull(); }
};

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Where Qt has no announcements, a notice of the window: a notification that screen readers read out by its
// name when it shows. It never shows on the screen. Each message has a notice of its own: a screen reader
// reads the name when it gets to the event, and a later message must not take the earlier one's place.
class Notice final : public QWidget
{
public:
    Notice(QWidget *window, const QString &text) : QWidget(window), message(text) { hide(); }
    const QString message;
};

class NoticeInterface final : public QAccessibleWidget
{
public:
    explicit NoticeInterface(Notice *notice) : QAccessibleWidget(notice, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const Notice *>(widget())->message : QString();
    }
};
#endif

// The windows' own parts; everything else, menu bars and buttons included, Qt describes itself.
QAccessibleInterface *windowParts(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !dynamic_cast<FormWindow *>(widget->window()))
        return nullptr;
    if (widget->isWindow())
        return new Window(widget);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    if (auto *notice = dynamic_cast<Notice *>(widget))
        return new NoticeInterface(notice);
#endif
    if (className == QLatin1String("QLabel"))
        return new Label(static_cast<QLabel *>(widget));
    if (className == QLatin1String("QFrame"))
        return new Container(widget, QAccessible::Pane);
    if (className == QLatin1String("QWidget"))
        return new Container(widget, QAccessible::Client);
    return nullptr;
}

// Puts right what Qt's own reports would leave wrong for a screen reader that remembers what it heard, and
// tells it what the window announces.
class WindowWatcher final : public QObject
{
public:
    explicit WindowWatcher(QWidget *window) : QObject(window), window_(window), announced_(nameOf(*window))
    {
        window->installEventFilter(this);
        window->setProperty(watcherProperty, QVariant::fromValue<QObject *>(this));
    }

    // The window's name while its title changes unannounced: the one screen readers last heard.
    QString heldName() const { return holding_ ? announced_ : QString(); }

    void setTitleUnannounced(const QString &title)
    {
        holding_ = true;
        window_->setWindowTitle(title);
        holding_ = false;
    }

    // A widget's later message replaces its earlier one not yet told.
    void announce(QWidget *source, const QString &message)
    {
        const auto same = [source](const auto &pending) { return pending.first == source; };
        pending_.erase(std::remove_if(pending_.begin(), pending_.end(), same), pending_.end());
        pending_.emplace_back(source, message);
        tellSoon();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::Show)
            shown();
        else if (watched == window_ && event->type() == QEvent::WindowActivate)
            tellSoon();
        else if (watched != window_ && event->type() == QEvent::FocusIn)
            announceName();
        return false;
    }

private:
    // Qt has just reported every control as showing, those scrolled out of their container's view too.
    void shown()
    {
        if (QWindow *handle = window_->windowHandle())
            handle->installEventFilter(this);
        if (!QAccessible::isActive())
            return;
        for (QLabel *label : window_->findChildren<QLabel *>()) {
            if (!label->isHidden() && !inView(*label, label->geometry())) {
                QAccessibleEvent hidden(label, QAccessible::ObjectHide);
                QAccessible::updateAccessibility(&hidden);
            }
        }
    }

    // The window system's focus reaches the window just before Qt reports it activated.
    void announceName()
    {
        const QString name = nameOf(*window_);
        if (name == announced_)
            return;
        announced_ = name;
        if (QAccessible::isActive()) {
            QAccessibleEvent changed(window_, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }

    // Once the event that gave the messages is over, all of them in one: a screen reader would cut each
    // short with the next. They wait for the window to be active: while another window takes the focus, a
    // screen reader talks of that one.
    void tellSoon()
    {
        if (!telling_ && !pending_.empty()) {
            telling_ = true;
            QMetaObject::invokeMethod(this, &WindowWatcher::tell, Qt::QueuedConnection);
        }
    }

    void tell()
    {
        telling_ = false;
        if (!window_->isActiveWindow())
            return;
        QStringList messages;
        for (const auto &pending : pending_)
            messages += pending.second;
        pending_.clear();
        if (!QAccessible::isActive())
            return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QAccessibleAnnouncementEvent announcement(window_, messages.join(QLatin1String(", ")));
        QAccessible::updateAccessibility(&announcement);
#else
        // A few are kept for screen readers that are slow to get to them; a call makes a few an hour.
        notices_.push_back(new Notice(window_, messages.join(QLatin1String(", "))));
        if (notices_.size() > keptNotices) {
            delete notices_.front();
            notices_.pop_front();
        }
        QAccessibleEvent shows(notices_.back(), QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shows);
#endif
    }

    QWidget *window_;
    QString announced_;
    bool holding_ = false;
    std::vector<std::pair<QWidget *, QString>> pending_;
    bool telling_ = false;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    static constexpr std::size_t keptNotices = 8;
    std::deque<Notice *> notices_; // children of the window, which deletes those left
#endif
};

WindowWatcher *watcherOf(const QWidget &window)
{
    return static_cast<WindowWatcher *>(window.property(watcherProperty).value<QObject *>());
}

QString Window::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return Container::text(t);
    const WindowWatcher *watcher = watcherOf(*widget());
    const QString held = watcher ? watcher->heldName() : QString();
    return held.isEmpty() ? nameOf(*widget()) : held;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(windowParts);
}

void nameWindow(QWidget *window, const QString &untitledName)
{
    if (!untitledName.isEmpty())
        window->setAccessibleName(untitledName);
    new WindowWatcher(window);
}

void setUnannouncedTitle(QWidget *window, const QString &title)
{
    if (WindowWatcher *watcher = watcherOf(*window))
        watcher->setTitleUnannounced(title);
    else
        window->setWindowTitle(title);
}

void announce(QWidget *widget, const QString &message)
{
    if (WindowWatcher *watcher = watcherOf(*widget->window()))
        watcher->announce(widget, message);
}

void setReadingPlace(QWidget *widget, const QRect &place)
{
    widget->setProperty(placeProperty, place);
}

void setDecorative(QWidget *widget)
{
    widget->setProperty(decorativeProperty, true);
}

void setLabelledBy(QWidget *control, QLabel *label)
{
    control->setProperty(labelProperty, QVariant::fromValue(static_cast<QWidget *>(label)));
    // Qt finds the label of a button or a check box by its buddy.
    if (!qobject_cast<QLabel *>(control))
        label->setBuddy(control);
}

void returnFocusAfterCommands(QMenuBar *menuBar)
{
    QObject::connect(menuBar, &QMenuBar::triggered, menuBar, [menuBar] {
        // Once the command has run: it may have moved the focus itself, closed the window or opened another,
        // which takes the focus.
        QMetaObject::invokeMethod(
            menuBar,
            [menuBar, before = shownWindows()] {
                QWidget *focus = QApplication::focusWidget();
                const QWidgetList now = shownWindows();
                const bool opened = std::any_of(now.begin(), now.end(),
                                                [&](QWidget *window) { return !before.contains(window); });
                if (focus && focus->window() == menuBar->window() && !opened && QAccessible::isActive()) {
                    QAccessibleEvent event(focus, QAccessible::Focus);
                    QAccessible::updateAccessibility(&event);
                }
            },
            Qt::QueuedConnection);
    });
}

void reportMove(QWidget *widget, const QRect &from)
{
    if (!QAccessible::isActive())
        return;
    const bool shown = inView(*widget, widget->geometry());
    if (shown == inView(*widget, from))
        return;
    QAccessibleEvent event(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&event);
}

} // namespace tk
