#include "window_registry.h"

#include <algorithm>

namespace tk {

Form *WindowRegistry::find(std::type_index type) const
{
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [type](const Window &window) { return window.type == type; });
    return found == windows_.end() ? nullptr : found->form.get();
}

void WindowRegistry::add(std::type_index type, std::unique_ptr<Form> form)
{
    windows_.push_back({type, std::move(form)});
}

void WindowRegistry::remove(Form &form)
{
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [&form](const Window &window) { return window.form.get() == &form; });
    unloaded_.push_back(std::move(found->form));
    windows_.erase(found);
}

std::vector<Form *> WindowRegistry::removeAll()
{
    std::vector<Form *> removed;
    for (Window &window : windows_) {
        removed.push_back(window.form.get());
        unloaded_.push_back(std::move(window.form));
    }
    windows_.clear();
    return removed;
}

} // namespace tk
