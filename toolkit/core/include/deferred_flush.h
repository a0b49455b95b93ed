#pragma once

#include <QObject>

#include <functional>
#include <vector>

namespace tk {

class Form;
class Mirror;

// The mirrors changed since the event loop last turned (mirror.h): once it turns, each brings its view up
// to date, once however often it changed, and then `afterFlush` runs.
class DeferredFlush
{
public:
    explicit DeferredFlush(std::function<void()> afterFlush);

    void mark(Mirror &mirror);
    // Asks for the event loop's next turn to flush, if nothing has asked yet.
    void post();
    // Brings the changed mirrors' views up to date now.
    void flush();
    // Drops the changes of the form and its controls, as the form goes.
    void forget(const Form &form);
    void clear() { changed_.clear(); }

private:
    std::function<void()> afterFlush_;
    std::vector<Mirror *> changed_;
    QObject context_;
    bool posted_ = false;
};

} // namespace tk
