#pragma once

#include "layout.h"
#include "mirror.h"

#include <string_view>

class QWidget;

namespace tk {

class Form;

// A named control of a form: the properties the program reads and writes, and the widget that shows them.
// Reading a property returns what was last written, whether or not the widget has caught up yet.
class Control : public Mirror
{
public:
    Control(Form &form, const ControlLayout &layout, QWidget *widget);

    std::string_view name() const { return name_; }
    Form &form() const { return form_; }
    QWidget *widget() const { return widget_; }

protected:
    void updateWidget() override {}

private:
    Form &form_;
    std::string_view name_;
    QWidget *widget_;
};

// A control with a box whose vertical position the program moves (`Top`, in twips from the inner top edge
// of its container). Positions may run far outside the container; the widget stays just outside then.
class BoxControl : public Control
{
public:
    BoxControl(Form &form, const ControlLayout &layout, QWidget *widget);

    float top() const { return top_; }
    // Inline: the about window's credits move ten times a second, fourteen of them, also when caught up.
    void setTop(float twips)
    {
        if (twips == top_)
            return;
        top_ = twips;
        changed();
    }

protected:
    void updateWidget() override;

private:
    float top_;
};

} // namespace tk
