#pragma once

namespace tk {

class FormHost;

// Something whose view follows its properties later, when the event loop next gets to it, so that a burst
// of property writes (thousands of ticks caught up after a stall) costs one update of the view.
class Mirror
{
public:
    virtual ~Mirror() = default;

protected:
    explicit Mirror(FormHost &host) : host_(host) {}

    FormHost &host() const { return host_; }

    // Call after a property changed: the view is brought up to date soon, once.
    void changed()
    {
        if (!pending_)
            markChanged();
    }
    virtual void updateView() = 0;

private:
    friend class DeferredFlush;
    void markChanged();
    FormHost &host_;
    bool pending_ = false;
};

} // namespace tk
