#pragma once

#include "layout.h"
#include "mirror.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace tk {

class Form;
class FormHost;
class FormView;

// What the controls of a form share, kept by the form: the program that runs it, the form itself, and the
// view that shows it, once made.
struct ControlSite {
    FormHost &host;
    Form &form;
    FormView *view = nullptr;
};

// A named control of a form: the properties the program reads and writes. Reading a property returns what
// was last written, whether or not the form's view has caught up yet.
class Control : public Mirror
{
public:
    // The control of the `index`th row of its form's layout.
    Control(const ControlSite &site, const ControlLayout &layout, std::size_t index);

    std::string_view name() const { return name_; }
    Form &form() const { return site_.form; }
    std::size_t index() const { return index_; }

protected:
    const ControlSite &site() const { return site_; }
    void updateView() override;

private:
    const ControlSite &site_;
    std::string_view name_;
    std::size_t index_;
};

// A control with a box whose vertical position the program moves (`Top`, in twips from the inner top edge
// of its container). Positions may run far outside the container; the view keeps the box just outside then.
class BoxControl : public Control
{
public:
    BoxControl(const ControlSite &site, const ControlLayout &layout, std::size_t index);

    float top() const { return top_; }
    // Inline: the about window's credits move ten times a second, fourteen of them, also when caught up.
    void setTop(float twips)
    {
        if (twips == top_)
            return;
        top_ = twips;
        changed();
    }

private:
    float top_;
};

// A control the user gives a command by: a button or a menu item. Its handler runs in its turn among the
// form's events.
class CommandControl : public Control
{
public:
    using Control::Control;

    void onClick(std::function<void()> handler) { click_ = std::move(handler); }
    // The user clicked or chose it.
    void click();

private:
    std::function<void()> click_;
};

} // namespace tk
