#include "accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace tk {

namespace {

// A label read as a value: the name says what it is, the caption is the value. Read-only text, one line.
class ValueLabel final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ValueLabel(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? caption() : QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
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
    QString caption() const { return static_cast<QLabel *>(widget())->text(); }
};

QAccessibleInterface *valueLabels(const QString &className, QObject *object)
{
    if (className != QLatin1String("QLabel"))
        return nullptr;
    auto *label = qobject_cast<QLabel *>(object);
    if (!label || label->accessibleName().isEmpty() || !label->pixmap().isNull())
        return nullptr;
    return new ValueLabel(label);
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(valueLabels);
}

} // namespace tk
