#pragma once

#include "control.h"
#include "scheduler.h"

#include <functional>

namespace tk {

// Ticks once per interval while enabled, delivered by the program's scheduler. Enabling an enabled timer
// changes nothing; enabling a disabled one starts a full interval from that moment.
class Timer final : public Control, private Ticker
{
public:
    Timer(const ControlSite &site, const ControlLayout &layout, std::size_t index);
    ~Timer() override;

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    Ms interval() const override { return interval_; }

    void onTimer(std::function<void()> handler) { tick_ = std::move(handler); }

private:
    void tick() override
    {
        if (tick_)
            tick_();
    }

    Scheduler &scheduler_;
    Ms interval_;
    bool enabled_ = false;
    std::function<void()> tick_;
};

} // namespace tk
