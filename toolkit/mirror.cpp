#include "mirror.h"

#include "program.h"

namespace tk {

void Mirror::changed()
{
    if (pending_)
        return;
    pending_ = true;
    program_.markChanged(*this);
}

} // namespace tk
