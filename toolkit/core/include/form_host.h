#pragma once

#include "local_time.h"

#include <functional>
#include <memory>

namespace tk {

class Form;
class FormView;
class Mirror;
class Scheduler;

// All that a form and its controls see of the program that runs them; the Program is one. Window code that
// opens or ends windows is handed the Program itself.
class FormHost
{
public:
    // Runs a user's action on the form in its turn among the program's events; dropped if the form is
    // unloaded, or the program ends, before its turn.
    virtual void dispatch(Form &form, const std::function<void()> &action) = 0;
    // Closes the form's window and discards the form once none of its handlers is running.
    virtual void unload(Form &form) = 0;
    // The local date and time of the event being handled: for a tick, the moment it fell due.
    virtual LocalMoment now() const = 0;
    // What delivers the ticks of the form's timers.
    virtual Scheduler &scheduler() = 0;
    // The mirror's view is brought up to date once the event loop turns (mirror.h).
    virtual void markChanged(Mirror &mirror) = 0;
    // The view that shows the form, its controls made; none where the program runs unseen.
    virtual std::unique_ptr<FormView> makeView(Form &form) const = 0;

protected:
    ~FormHost() = default;
};

} // namespace tk
