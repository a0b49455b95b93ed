#pragma once

#include "control.h"
#include "form_view.h"
#include "layout.h"
#include "local_time.h"
#include "mirror.h"

#include <QString>

#include <memory>
#include <string_view>
#include <vector>

namespace tk {

class CheckBox;
class CommandButton;
class FormHost;
class Label;
class MenuItem;
class Timer;

// A top-level window declared by its layout, with named controls. A form is loaded on first use: its
// controls take their layout values, its enabled timers start, then `Form_Load` runs. Unloading it closes
// the window and discards its controls and timers; it is safe from one of its own handlers.
class Form : public Mirror
{
public:
    Form(FormHost &host, const FormLayout &layout);
    ~Form() override;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    virtual void Form_Load() {}

    const FormLayout &layout() const { return layout_; }
    bool loaded() const { return loaded_; }
    // What shows the form; none where the program runs unseen.
    FormView *view() const { return view_.get(); }

    // The window's title.
    const QString &caption() const { return caption_; }
    void setCaption(const QString &caption);

    void show();
    void minimize();
    bool minimized() const;
    void unload();

    // The local date and time of the event being handled.
    LocalMoment now() const;

    Label &label(std::string_view name) const { return control<Label>(name); }
    // A label or an image: a control that can be moved.
    BoxControl &boxControl(std::string_view name) const { return control<BoxControl>(name); }
    CommandButton &commandButton(std::string_view name) const { return control<CommandButton>(name); }
    CheckBox &checkBox(std::string_view name) const { return control<CheckBox>(name); }
    Timer &timer(std::string_view name) const { return control<Timer>(name); }
    MenuItem &menuItem(std::string_view name) const { return control<MenuItem>(name); }
    Control &control(std::string_view name) const;

private:
    friend class Program;
    template <class C> C &control(std::string_view name) const;
    void updateView() override;
    void close();

    const FormLayout &layout_;
    QString caption_;
    bool loaded_ = true;
    ControlSite site_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::unique_ptr<FormView> view_;
};

} // namespace tk
