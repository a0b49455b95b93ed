#include "mirror.h"

#include "program.h"

namespace tk {

void Mirror::markChanged()
{
    pending_ = true;
    program_.markChanged(*this);
}

} // namespace tk
