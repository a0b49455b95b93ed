#include "desktop_settings.h"

namespace tk {

DesktopSettings &DesktopSettings::session()
{
    static DesktopSettings settings;
    return settings;
}

void DesktopSettings::setButtonLayout(const QString &layout)
{
    if (layout == buttonLayout_)
        return;
    buttonLayout_ = layout;
    emit buttonLayoutChanged();
}

void DesktopSettings::setHighContrast(bool on)
{
    if (on == highContrast_)
        return;
    highContrast_ = on;
    emit highContrastChanged();
}

} // namespace tk
