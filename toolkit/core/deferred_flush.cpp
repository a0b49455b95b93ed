#include "deferred_flush.h"

#include "control.h"
#include "form.h"

#include <utility>

namespace tk {

DeferredFlush::DeferredFlush(std::function<void()> afterFlush) : afterFlush_(std::move(afterFlush)) {}

void DeferredFlush::mark(Mirror &mirror)
{
    changed_.push_back(&mirror);
    post();
}

void DeferredFlush::post()
{
    if (posted_)
        return;
    posted_ = true;
    QMetaObject::invokeMethod(
        &context_,
        [this] {
            posted_ = false;
            flush();
            afterFlush_();
        },
        Qt::QueuedConnection);
}

void DeferredFlush::flush()
{
    const std::vector<Mirror *> changed = std::exchange(changed_, {});
    for (Mirror *mirror : changed) {
        mirror->pending_ = false;
        mirror->updateView();
    }
}

void DeferredFlush::forget(const Form &form)
{
    std::erase_if(changed_, [&form](Mirror *mirror) {
        auto *control = dynamic_cast<Control *>(mirror);
        return mirror == &form || (control && &control->form() == &form);
    });
}

} // namespace tk
