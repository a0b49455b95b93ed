#pragma once

#include <QObject>

#include <memory>

class QDBusPendingCallWatcher;
class QDBusVariant;

namespace tk {

class GSettingsKey;

// Reads the desktop's settings into DesktopSettings::session() and follows their changes for as long as it
// lives, as GNOME's own programs do: from the settings portal on the session bus, and what the portal
// cannot tell (it is absent, it answers with an error, it lacks the key) from GSettings. No question is
// waited for: each answer is taken when it comes, however late, and until then the settings stay as they
// are. Without a session bus nothing is read.
class DesktopSettingsReader final : public QObject
{
    Q_OBJECT

public:
    DesktopSettingsReader();
    ~DesktopSettingsReader() override;

private slots:
    // Connected by name, as a signal on the bus is.
    void portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void takePortalAnswer(QDBusPendingCallWatcher *answer);
    void take(const QString &group, const QString &key, const QVariant &value);

    bool portalTellsContrast_ = false;
    std::unique_ptr<GSettingsKey> buttonLayout_;
    std::unique_ptr<GSettingsKey> highContrast_;
};

} // namespace tk
