#include "screen_reader.h"

#include "announcements.h"
#include "form_window.h"
#include "reading_order.h"
#include "shape_widget.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>

#include <algorithm>
#include <string_view>
#include <vector>

namespace tk {

namespace {

constexpr char decorativeProperty[] = "tkDecorative";
constexpr char labelProperty[] = "tkLabelledBy";
constexpr char placeProperty[] = "tkReadingPlace";

QRect readingPlace(const QWidget *widget)
{
    const QVariant place = widget->property(placeProperty);
    return place.isValid() ? place.toRect() : widget->geometry();
}

QWidget *labelOf(const QWidget *control)
{
    return control->property(labelProperty).value<QWidget *>();
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

// What a container holds, as a screen reader should read it.
QWidgetList readableChildren(const QWidget &container)
{
    QWidgetList children;
    std::vector<ReadingItem> items;
    for (QWidget *child : container.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (dynamic_cast<ShapeWidget *>(child) && !child->isHidden())
            items.push_back({readingPlace(child), true});
        else if (!child->isWindow() && !child->isHidden() && !child->property(decorativeProperty).toBool() &&
                 !namesControl(*child) && inContainerView(*child, child->geometry()))
            items.push_back({readingPlace(child), false});
        else
            continue;
        children += child;
    }
    QWidgetList ordered;
    for (const std::size_t i : readingOrder(items))
        ordered += children.at(qsizetype(i));
    return ordered;
}

// What a screen reader says for a label's caption that names another control: without the colon that ends
// it on the screen.
QString spokenName(const QString &caption)
{
    QString spoken = caption.trimmed();
    if (spoken.endsWith(QLatin1Char(':')))
        spoken.chop(1);
    return spoken.trimmed();
}

// The row of the label that labels `row`.
std::size_t labellingRow(const FormLayout &layout, const ControlLayout &row)
{
    const auto found =
        std::find_if(layout.controls.begin(), layout.controls.end(), [&](const ControlLayout &other) {
            return other.name == std::string_view(row.labelledBy);
        });
    if (found == layout.controls.end() || found->kind != Kind::Label)
        qFatal("%s is labelled by %s, which is not a label of its window", row.name, row.labelledBy);
    return std::size_t(found - layout.controls.begin());
}

// The label says what the control is; a screen reader takes it for the control's heading, and the control
// for what the label labels.
void setLabelledBy(QWidget *control, QLabel *label)
{
    control->setProperty(labelProperty, QVariant::fromValue(static_cast<QWidget *>(label)));
    // Qt finds the label of a button or a check box by its buddy.
    if (!qobject_cast<QLabel *>(control))
        label->setBuddy(control);
}

// A widget that holds others: they are its children in reading order.
class Container : public QAccessibleWidget
{
public:
    Container(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return int(readableChildren(*widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = readableChildren(*widget());
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(readableChildren(*widget()).indexOf(qobject_cast<QWidget *>(child->object())))
                     : -1;
    }
};

// A frame, or a dialog box. Qt 6.4 reports a Window as activated when it loses the focus, and as deactivated
// when it gains it, but tells screen readers that a Border is a frame too; Qt 6.8 calls a Border a panel.
constexpr QAccessible::Role frameRole =
    QT_VERSION < QT_VERSION_CHECK(6, 8, 0) ? QAccessible::Border : QAccessible::Window;

class FrameInterface final : public Container
{
public:
    explicit FrameInterface(QWidget *window)
        : Container(window, window->windowType() == Qt::Dialog ? QAccessible::Dialog : frameRole)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? windowName(*widget()) : Container::text(t);
    }
};

// A label's caption or picture. A caption is read as it is shown, whatever it means: that travels as the
// description and by the label that heads it. A picture is named for what it shows.
class CaptionInterface final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit CaptionInterface(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

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
// The fallback for announcements where Qt has none (announcements.h).
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
    if (!widget || !FormWindow::of(widget->window()))
        return nullptr;
    if (widget->isWindow())
        return new FrameInterface(widget);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    if (auto *notice = dynamic_cast<Notice *>(widget))
        return new NoticeInterface(notice);
#endif
    if (className == QLatin1String("QLabel"))
        return new CaptionInterface(static_cast<QLabel *>(widget));
    if (className == QLatin1String("QFrame"))
        return new Container(widget, QAccessible::Pane);
    if (className == QLatin1String("QWidget"))
        return new Container(widget, QAccessible::Client);
    return nullptr;
}

} // namespace

void installScreenReaderSupport()
{
    QAccessible::installFactory(windowParts);
}

QString accessibleName(const FormLayout &layout, const ControlLayout &row)
{
    if (row.accessibleName)
        return QString::fromUtf8(row.accessibleName);
    if (row.labelledBy)
        return spokenName(QString::fromUtf8(layout.controls[labellingRow(layout, row)].caption));
    return {};
}

void linkLabels(const FormLayout &layout, std::span<QWidget *const> widgets)
{
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].labelledBy)
            setLabelledBy(widgets[i],
                          static_cast<QLabel *>(widgets[labellingRow(layout, layout.controls[i])]));
    }
}

void setReadingPlace(QWidget *widget, const QRect &place)
{
    widget->setProperty(placeProperty, place);
}

void setDecorative(QWidget *widget)
{
    widget->setProperty(decorativeProperty, true);
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

bool inContainerView(const QWidget &widget, const QRect &geometry)
{
    return !widget.parentWidget() || inView(geometry, widget.parentWidget()->rect());
}

void reportMove(QWidget *widget, const QRect &from)
{
    if (!QAccessible::isActive())
        return;
    const bool shown = inContainerView(*widget, widget->geometry());
    if (shown == inContainerView(*widget, from))
        return;
    QAccessibleEvent event(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&event);
}

} // namespace tk
