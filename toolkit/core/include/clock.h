#pragma once

#include "local_time.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace tk {

// Milliseconds on a monotonic count that starts at an arbitrary origin.
using Ms = std::int64_t;

// Where the program's time comes from: a monotonic count that never goes back and keeps counting while the
// machine sleeps, the local date and time that belong to any moment of that count, and the wake-ups that
// deliver timer ticks.
class Clock
{
public:
    using WakeHandler = std::function<void(Ms upTo)>;

    virtual ~Clock() = default;

    virtual Ms monotonic() const = 0;
    virtual LocalMoment localTimeAt(Ms moment) const = 0;

    // How long the program has been at work, in milliseconds from an arbitrary origin: a long catch-up is cut
    // into slices by this count, and the event loop runs between them.
    virtual Ms workTime() const = 0;

    // Asks for a wake-up once the monotonic count reaches `due` (none: no tick is pending); asked after every
    // event, mostly for the wake-up already asked for. On waking the clock calls the wake handler with the
    // moment up to which ticks are due.
    virtual void wakeAt(std::optional<Ms> due) = 0;

    void setWakeHandler(WakeHandler handler) { wake_ = std::move(handler); }

protected:
    void wake(Ms upTo) const
    {
        if (wake_)
            wake_(upTo);
    }

private:
    WakeHandler wake_;
};

} // namespace tk
