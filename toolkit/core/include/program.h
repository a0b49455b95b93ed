#pragma once

#include "clock.h"
#include "form.h"
#include "form_host.h"
#include "form_view.h"
#include "scheduler.h"

#include <QObject>

#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

namespace tk {

// One run of the program: its clock, the scheduler that delivers every timer tick, and its windows.
// Every event reaches a handler through here, one at a time; once the program has ended, none does.
//
// Ticks missed while the loop was held up or the computer slept are caught up in slices of about 30 ms
// of work, with a return to the event loop after each: the windows repaint and answer the
// window manager meanwhile, and a click given then waits in the scheduler for its turn.
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
    void flush();

    // Runs a handler for a user's action on a form, after every tick that fell due before it and before any
    // that falls due after it: at once, unless ticks are still to be caught up.
    void dispatch(Form &form, const std::function<void()> &handler) override;
    // The program ends with its last window.
    void unload(Form &form) override;
    void markChanged(Mirror &mirror) override;

private:
    struct Window {
        std::type_index type;
        std::unique_ptr<Form> form;
    };

    Form *find(std::type_index type) const;
    void add(std::type_index type, std::unique_ptr<Form> form);
    void deliverSlice(Ms upTo);
    void afterEvent();
    void postFlush();

    Clock &clock_;
    Scheduler scheduler_;
    std::vector<Window> windows_;
    std::vector<std::unique_ptr<Form>> unloaded_;
    std::vector<Mirror *> changed_;
    QObject context_;
    bool flushPosted_ = false;
    bool catchUpPosted_ = false;
    Ms catchUpTo_ = 0;
    bool ended_ = false;
    std::function<void()> endHandler_;
    ViewMaker viewMaker_;
};

template <class F> F *Program::find() const
{
    return static_cast<F *>(find(typeid(F)));
}

template <class F> F &Program::form()
{
    if (F *existing = find<F>())
        return *existing;
    auto created = std::make_unique<F>(*this);
    F &form = *created;
    add(typeid(F), std::move(created));
    form.Form_Load();
    afterEvent();
    return form;
}

template <class F> F &Program::show()
{
    F &shown = form<F>();
    shown.show();
    return shown;
}

} // namespace tk
