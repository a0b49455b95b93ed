#include "program.h"

namespace tk {

// Once the event loop has turned, no handler is running, so the windows unloaded meanwhile can go.
Program::Program(Clock &clock)
    : clock_(clock), scheduler_(clock), changes_([this] { windows_.release(); }), delivery_(clock, scheduler_)
{
}

Program::~Program() = default;

std::unique_ptr<FormView> Program::makeView(Form &form) const
{
    return viewMaker_ ? viewMaker_(form) : nullptr;
}

LocalMoment Program::now() const
{
    return clock_.localTimeAt(scheduler_.now());
}

// Unloading the form drops the action if it has not run yet.
void Program::dispatch(Form &form, const std::function<void()> &handler)
{
    if (ended_ || !form.loaded() || !handler)
        return;
    delivery_.dispatch(&form, handler);
}

void Program::unload(Form &form)
{
    if (!form.loaded())
        return;
    form.close();
    scheduler_.cancel(&form);
    changes_.forget(form);
    windows_.remove(form);
    changes_.post();
    if (windows_.empty())
        end();
}

void Program::end()
{
    if (ended_)
        return;
    ended_ = true;
    scheduler_.halt();
    delivery_.stop();
    for (Form *form : windows_.removeAll())
        form->close();
    changes_.clear();
    if (endHandler_)
        endHandler_();
}

} // namespace tk
