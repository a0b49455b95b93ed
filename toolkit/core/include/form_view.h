#pragma once

namespace tk {

class CheckBox;
class Control;

// What shows a form on the screen: one per form, made by the program's view maker. The form and its controls
// keep every property and tell the view what changed; a form without a view runs just the same, unseen.
class FormView
{
public:
    virtual ~FormView() = default;

    // Deferred: the event loop's next turn brings the view up to date with the form's caption, or with a
    // control's properties (a label's caption, a box's top), once for a burst of changes.
    virtual void captionChanged() = 0;
    virtual void controlChanged(const Control &control) = 0;

    // At once: the user's very next click depends on them.
    virtual void enabledChanged(const CheckBox &box) = 0;
    virtual void show() = 0;
    virtual void minimize() = 0;
    virtual bool minimized() const = 0;
    // The form is unloaded: the window goes out of sight and takes no more input.
    virtual void close() = 0;
};

} // namespace tk
