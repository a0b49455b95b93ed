#include "program.h"

#include "control.h"
#include "mirror.h"

#include <algorithm>

namespace tk {

namespace {

// Short enough for a window that never looks frozen, long enough that the return to the event loop costs
// little; a slice ends after the tick that reaches it.
constexpr Ms sliceLength = 30;

} // namespace

Program::Program(Clock &clock) : clock_(clock), scheduler_(clock)
{
    clock_.setWakeHandler([this](Ms upTo) { deliverSlice(upTo); });
}

Program::~Program()
{
    clock_.setWakeHandler(nullptr);
    clock_.wakeAt(std::nullopt);
    changed_.clear();
    windows_.clear();
    unloaded_.clear();
}

std::unique_ptr<FormView> Program::makeView(Form &form) const
{
    return viewMaker_ ? viewMaker_(form) : nullptr;
}

LocalMoment Program::now() const
{
    return clock_.localTimeAt(scheduler_.now());
}

Form *Program::find(std::type_index type) const
{
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [type](const Window &window) { return window.type == type; });
    return found == windows_.end() ? nullptr : found->form.get();
}

void Program::add(std::type_index type, std::unique_ptr<Form> form)
{
    windows_.push_back({type, std::move(form)});
}

// Unloading the form drops the action if it has not run yet.
void Program::dispatch(Form &form, const std::function<void()> &handler)
{
    if (ended_ || !form.loaded() || !handler)
        return;
    const Ms moment = clock_.monotonic();
    scheduler_.post(moment, &form, handler);
    deliverSlice(moment);
}

void Program::deliverSlice(Ms upTo)
{
    catchUpTo_ = std::max(catchUpTo_, upTo);
    // A slice already waiting in the event loop goes on to the present.
    if (catchUpPosted_)
        return;
    const Ms start = clock_.workTime();
    const bool done =
        scheduler_.deliverDue(catchUpTo_, [this, start] { return clock_.workTime() - start >= sliceLength; });
    if (!done && !ended_) {
        catchUpPosted_ = true;
        QMetaObject::invokeMethod(
            &context_,
            [this] {
                catchUpPosted_ = false;
                deliverSlice(clock_.monotonic());
            },
            Qt::QueuedConnection);
    }
    afterEvent();
}

void Program::afterEvent()
{
    if (ended_)
        return;
    // While a catch-up goes on, its next slice wakes the scheduler.
    clock_.wakeAt(catchUpPosted_ ? std::nullopt : scheduler_.nextDue());
}

void Program::unload(Form &form)
{
    if (!form.loaded())
        return;
    form.close();
    scheduler_.cancel(&form);
    std::erase_if(changed_, [&form](Mirror *mirror) {
        auto *control = dynamic_cast<Control *>(mirror);
        return mirror == &form || (control && &control->form() == &form);
    });
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [&form](const Window &window) { return window.form.get() == &form; });
    unloaded_.push_back(std::move(found->form));
    windows_.erase(found);
    postFlush();
    if (windows_.empty())
        end();
}

void Program::end()
{
    if (ended_)
        return;
    ended_ = true;
    scheduler_.halt();
    clock_.wakeAt(std::nullopt);
    for (Window &window : windows_) {
        window.form->close();
        unloaded_.push_back(std::move(window.form));
    }
    windows_.clear();
    changed_.clear();
    if (endHandler_)
        endHandler_();
}

void Program::markChanged(Mirror &mirror)
{
    changed_.push_back(&mirror);
    postFlush();
}

void Program::postFlush()
{
    if (flushPosted_)
        return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        &context_,
        [this] {
            flushPosted_ = false;
            flush();
            // No handler is running now, so the windows unloaded meanwhile can go.
            unloaded_.clear();
        },
        Qt::QueuedConnection);
}

void Program::flush()
{
    const std::vector<Mirror *> changed = std::exchange(changed_, {});
    for (Mirror *mirror : changed) {
        mirror->pending_ = false;
        mirror->updateView();
    }
}

} // namespace tk
