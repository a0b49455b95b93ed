#pragma once

#include "control.h"
#include "scheduler.h"

#include <functional>

namespace tk {

// Ticks once per interval while enabled, delivered by the program's scheduler. Enabling an enabled timer
// changes nothing; enabling a disabled one starts a full interval from that moment.
class Timer final : public Control
{
public:
    Timer(Form &form, const ControlLayout &layout, Scheduler &scheduler);
    ~Timer() override;

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    Ms interval() const { return interval_; }

    void onTimer(std::function<void()> handler) { tick_ = std::move(handler); }

private:
    friend class Scheduler;
    void tick()
    {
        if (tick_)
            tick_();
    }

    Scheduler &scheduler_;
    Ms interval_;
    bool enabled_ = false;
    Ms due_ = 0;
    std::uint64_t sequence_ = 0;
    std::function<void()> tick_;
};

} // namespace tk
