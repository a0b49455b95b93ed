#pragma once

#include <QObject>
#include <QString>

namespace tk {

// What the desktop's settings ask of the program's windows, read as GNOME's own programs read them: from
// the settings portal, else from GSettings. Nothing waits for an answer: until one comes, and where none
// can, the values stay unknown and the windows keep their own look. A change while the program runs is
// followed, and told by the change signals.
class DesktopSettings final : public QObject
{
    Q_OBJECT

public:
    // The settings of this session, asked for on first use.
    static DesktopSettings &session();

    // The title bar's boxes as GNOME's button layout names them ("appmenu:minimize,close": those left of
    // the colon on the left, the others on the right); empty while unknown.
    const QString &buttonLayout() const { return buttonLayout_; }
    // Whether the user asked for high contrast; false while unknown.
    bool highContrast() const { return highContrast_; }

    // Take a value as the desktop told it, and tell of it where it changed.
    void setButtonLayout(const QString &layout);
    void setHighContrast(bool on);

signals:
    void buttonLayoutChanged();
    void highContrastChanged();

private:
    DesktopSettings() = default;

    QString buttonLayout_;
    bool highContrast_ = false;
};

} // namespace tk
