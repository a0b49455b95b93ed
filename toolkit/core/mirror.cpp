#include "mirror.h"

#include "form_host.h"

namespace tk {

void Mirror::markChanged()
{
    pending_ = true;
    host_.markChanged(*this);
}

} // namespace tk
