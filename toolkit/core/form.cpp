#include "form.h"

#include "check_box.h"
#include "command_button.h"
#include "form_host.h"
#include "image.h"
#include "label.h"
#include "menu_item.h"
#include "timer.h"

namespace tk {

namespace {

std::unique_ptr<Control> makeControl(const ControlSite &site, const ControlLayout &row, std::size_t index)
{
    switch (row.kind) {
    case Kind::Label:
        return std::make_unique<Label>(site, row, index);
    case Kind::Image:
        return std::make_unique<Image>(site, row, index);
    case Kind::CommandButton:
        return std::make_unique<CommandButton>(site, row, index);
    case Kind::CheckBox:
        return std::make_unique<CheckBox>(site, row, index);
    case Kind::Timer:
        return std::make_unique<Timer>(site, row, index);
    case Kind::MenuItem:
        return std::make_unique<MenuItem>(site, row, index);
    case Kind::Line:
    case Kind::Shape:
    case Kind::PictureBox:
        break;
    }
    return std::make_unique<Control>(site, row, index);
}

} // namespace

Form::Form(FormHost &host, const FormLayout &layout)
    : Mirror(host), layout_(layout), caption_(QString::fromUtf8(layout.caption)), site_{host, *this}
{
    for (std::size_t i = 0; i < layout.controls.size(); ++i)
        controls_.push_back(makeControl(site_, layout.controls[i], i));
    view_ = host.makeView(*this);
    site_.view = view_.get();
    // Timers that the layout enables start as soon as the window exists, in stored order.
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].kind == Kind::Timer && layout.controls[i].enabled)
            static_cast<Timer &>(*controls_[i]).setEnabled(true);
    }
}

// The view goes first: it hands the user's input to the controls.
Form::~Form()
{
    site_.view = nullptr;
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
    host().unload(*this);
}

LocalMoment Form::now() const
{
    return host().now();
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
