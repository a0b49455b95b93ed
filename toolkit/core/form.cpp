#include "form.h"

#include "check_box.h"
#include "command_button.h"
#include "image.h"
#include "label.h"
#include "menu_item.h"
#include "program.h"
#include "timer.h"

namespace tk {

namespace {

std::unique_ptr<Control> makeControl(Form &form, const ControlLayout &row, std::size_t index)
{
    switch (row.kind) {
    case Kind::Label:
        return std::make_unique<Label>(form, row, index);
    case Kind::Image:
        return std::make_unique<Image>(form, row, index);
    case Kind::CommandButton:
        return std::make_unique<CommandButton>(form, row, index);
    case Kind::CheckBox:
        return std::make_unique<CheckBox>(form, row, index);
    case Kind::Timer:
        return std::make_unique<Timer>(form, row, index, form.program().scheduler());
    case Kind::MenuItem:
        return std::make_unique<MenuItem>(form, row, index);
    case Kind::Line:
    case Kind::Shape:
    case Kind::PictureBox:
        break;
    }
    return std::make_unique<Control>(form, row, index);
}

} // namespace

Form::Form(Program &program, const FormLayout &layout)
    : Mirror(program), program_(program), layout_(layout), caption_(QString::fromUtf8(layout.caption))
{
    for (std::size_t i = 0; i < layout.controls.size(); ++i)
        controls_.push_back(makeControl(*this, layout.controls[i], i));
    view_ = program.makeView(*this);
    // Timers that the layout enables start as soon as the window exists, in stored order.
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].kind == Kind::Timer && layout.controls[i].enabled)
            static_cast<Timer &>(*controls_[i]).setEnabled(true);
    }
}

// The view goes first: it hands the user's input to the controls.
Form::~Form()
{
    view_.reset();
    controls_.clear();
}

Control &Form::control(std::string_view name) const
{
    for (const auto &control : controls_) {
        if (control->name() == name)
            return *control;
    }
    qFatal("%s has no control named %.*s", layout_.name, int(name.size()), name.data());
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

void Form::updateView()
{
    if (view_)
        view_->captionChanged();
}

void Form::controlChanged(const Control &control)
{
    if (view_)
        view_->controlChanged(control);
}

void Form::enabledChanged(const CheckBox &box)
{
    if (view_)
        view_->enabledChanged(box);
}

void Form::userAction(const std::function<void()> &handler)
{
    program_.dispatch(*this, handler);
}

void Form::show()
{
    if (loaded_ && view_)
        view_->show();
}

void Form::minimize()
{
    if (view_)
        view_->minimize();
}

bool Form::minimized() const
{
    return view_ && view_->minimized();
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
    if (view_)
        view_->close();
}

} // namespace tk
