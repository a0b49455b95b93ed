#pragma once

#include "form.h"

#include <memory>
#include <typeindex>
#include <vector>

namespace tk {

// The program's windows, at most one form of each type, and the forms taken out of them: a form unloaded by
// one of its own handlers lives on until none of them can be running.
class WindowRegistry
{
public:
    Form *find(std::type_index type) const;
    void add(std::type_index type, std::unique_ptr<Form> form);
    bool empty() const { return windows_.empty(); }

    // Takes the form out of the windows; it lives on until release().
    void remove(Form &form);
    // Takes every form out, and returns them in the order they were added.
    std::vector<Form *> removeAll();
    // Discards the forms taken out.
    void release() { unloaded_.clear(); }

private:
    struct Window {
        std::type_index type;
        std::unique_ptr<Form> form;
    };

    std::vector<Window> windows_;
    std::vector<std::unique_ptr<Form>> unloaded_;
};

} // namespace tk
