#pragma once

#include "clock.h"
#include "deferred_flush.h"
#include "event_delivery.h"
#include "form.h"
#include "form_host.h"
#include "form_view.h"
#include "scheduler.h"
#include "window_registry.h"

#include <functional>
#include <memory>

namespace tk {

// One run of the program: its clock, the scheduler that delivers every timer tick, and its windows.
// Every event reaches a handler through here, one at a time (event_delivery.h); once the program has ended,
// none does. The windows (window_registry.h) have their views brought up to date once the event loop turns
// (deferred_flush.h).
class Program final : public FormHost
{
public:
    // Makes the view that shows a form, its controls made and its layout at hand.
    using ViewMaker = std::function<std::unique_ptr<FormView>(Form &form)>;

    explicit Program(Clock &clock);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    Scheduler &scheduler() override { return scheduler_; }

    // Every form made from now on is shown by a view that `maker` makes; without one, forms run unseen.
    void setViewMaker(ViewMaker maker) { viewMaker_ = std::move(maker); }
    std::unique_ptr<FormView> makeView(Form &form) const override;

    LocalMoment now() const override;

    // The window of type F, created and loaded (its Form_Load run) if it does not exist yet.
    template <class F> F &form();
    // The same, then shown modeless.
    template <class F> F &show();
    // The window of type F if it exists.
    template <class F> F *find() const;

    // Closes every window at once; no further handler runs.
    void end();
    bool ended() const { return ended_; }
    void setEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }

    // Brings every view up to date with its form's and controls' properties now, instead of when the event
    // loop next gets to it.
    void flush() { changes_.flush(); }

    // Runs a handler for a user's action on a form, after every tick that fell due before it and before any
    // that falls due after it: at once, unless ticks are still to be caught up.
    void dispatch(Form &form, const std::function<void()> &handler) override;
    // The program ends with its last window.
    void unload(Form &form) override;
    void markChanged(Mirror &mirror) override { changes_.mark(mirror); }

private:
    // Destroyed in the reverse order: the clock is let go first, the windows last, while the scheduler that
    // their timers leave is still there.
    Clock &clock_;
    Scheduler scheduler_;
    WindowRegistry windows_;
    DeferredFlush changes_;
    EventDelivery delivery_;
    bool ended_ = false;
    std::function<void()> endHandler_;
    ViewMaker viewMaker_;
};

template <class F> F *Program::find() const
{
    return static_cast<F *>(windows_.find(typeid(F)));
}

template <class F> F &Program::form()
{
    if (F *existing = find<F>())
        return *existing;
    auto created = std::make_unique<F>(*this);
    F &form = *created;
    windows_.add(typeid(F), std::move(created));
    form.Form_Load();
    delivery_.afterEvent();
    return form;
}

template <class F> F &Program::show()
{
    F &shown = form<F>();
    shown.show();
    return shown;
}

} // namespace tk
