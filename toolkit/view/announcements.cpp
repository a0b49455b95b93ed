#include "announcements.h"

#include "reading_order.h"

#include <QAccessible>
#include <QLabel>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace tk {

namespace {

constexpr char announcerProperty[] = "tkAnnouncer";

QString nameOf(const QWidget &window)
{
    const QString title = window.windowTitle();
    return title.isEmpty() ? window.accessibleName() : title;
}

// Puts right what Qt's own reports would leave wrong for a screen reader that remembers what it heard, and
// tells it what the window announces.
class Announcer final : public QObject
{
public:
    explicit Announcer(QWidget *window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
        window->setProperty(announcerProperty, QVariant::fromValue<QObject *>(this));
    }

    // The window's name while its title changes unannounced: the one it had.
    QString heldName() const { return held_; }

    void setTitleUnannounced(const QString &title)
    {
        held_ = nameOf(*window_);
        window_->setWindowTitle(title);
        held_.clear();
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
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            shown();
        else if (event->type() == QEvent::WindowActivate)
            tellSoon();
        return false;
    }

private:
    // Qt has just reported every control as showing, those scrolled out of their container's view too.
    void shown()
    {
        if (!QAccessible::isActive())
            return;
        for (QLabel *label : window_->findChildren<QLabel *>()) {
            if (!label->isHidden() && !inView(label->geometry(), label->parentWidget()->rect())) {
                QAccessibleEvent hidden(label, QAccessible::ObjectHide);
                QAccessible::updateAccessibility(&hidden);
            }
        }
    }

    // Once the event that gave the messages is over, all of them in one: a screen reader would cut each
    // short with the next. They wait for the window to be active: while another window takes the focus, a
    // screen reader talks of that one.
    void tellSoon()
    {
        if (!telling_ && !pending_.empty()) {
            telling_ = true;
            QMetaObject::invokeMethod(this, &Announcer::tell, Qt::QueuedConnection);
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
    QString held_;
    std::vector<std::pair<QWidget *, QString>> pending_;
    bool telling_ = false;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    static constexpr std::size_t keptNotices = 8;
    std::deque<Notice *> notices_; // children of the window, which deletes those left
#endif
};

Announcer *announcerOf(const QWidget &window)
{
    return static_cast<Announcer *>(window.property(announcerProperty).value<QObject *>());
}

} // namespace

void nameWindow(QWidget *window, const QString &untitledName)
{
    if (!untitledName.isEmpty())
        window->setAccessibleName(untitledName);
    new Announcer(window);
}

void setUnannouncedTitle(QWidget *window, const QString &title)
{
    if (Announcer *announcer = announcerOf(*window))
        announcer->setTitleUnannounced(title);
    else
        window->setWindowTitle(title);
}

QString windowName(const QWidget &window)
{
    const Announcer *announcer = announcerOf(window);
    const QString held = announcer ? announcer->heldName() : QString();
    return held.isEmpty() ? nameOf(window) : held;
}

void announce(QWidget *widget, const QString &message)
{
    if (Announcer *announcer = announcerOf(*widget->window()))
        announcer->announce(widget, message);
}

} // namespace tk
