#include "desktop_settings_reader.h"

#include "desktop_settings.h"
#include "gsettings_key.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QMap>
#include <QStringList>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace tk {

namespace {

const QString portalService = u"org.freedesktop.portal.Desktop"_s;
const QString portalPath = u"/org/freedesktop/portal/desktop"_s;
const QString settingsInterface = u"org.freedesktop.portal.Settings"_s;

// The portal's groups of settings; those named org.gnome.* are GSettings' schemas of the same names.
const QString appearance = u"org.freedesktop.appearance"_s;
const QString accessibility = u"org.gnome.desktop.a11y.interface"_s;
const QString windowManager = u"org.gnome.desktop.wm.preferences"_s;
const QString contrast = u"contrast"_s;
const QString highContrast = u"high-contrast"_s;
const QString buttonLayout = u"button-layout"_s;

// The settings by group, as the portal's ReadAll answers.
using Groups = QMap<QString, QVariantMap>;

} // namespace

DesktopSettingsReader::DesktopSettingsReader()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    qDBusRegisterMetaType<Groups>();
    // Qt connects a signal on the bus only to a slot whose argument types it knows by name already.
    qRegisterMetaType<QDBusVariant>();
    // Heard from any sender: to hear the portal's alone, Qt would ask the bus for its owner and wait.
    bus.connect(QString(), portalPath, settingsInterface, u"SettingChanged"_s, this,
                SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
    // ReadAll, which every version of the portal has, asks for all three groups at once; a group or key that
    // the portal does not know is only missing from the answer.
    QDBusMessage question =
        QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, u"ReadAll"_s);
    question << QStringList{appearance, accessibility, windowManager};
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(question), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, &DesktopSettingsReader::takePortalAnswer);
}

DesktopSettingsReader::~DesktopSettingsReader() = default;

void DesktopSettingsReader::takePortalAnswer(QDBusPendingCallWatcher *answer)
{
    answer->deleteLater();
    const QDBusPendingReply<Groups> reply = *answer;
    // An error (no portal, or one that fails, or none within D-Bus's time) leaves everything to GSettings.
    const Groups groups = reply.isError() ? Groups() : reply.value();
    for (auto group = groups.cbegin(); group != groups.cend(); ++group)
        for (auto setting = group->cbegin(); setting != group->cend(); ++setting)
            take(group.key(), setting.key(), setting.value());
    const auto follow = [this](const QString &group, const QString &key) {
        return GSettingsKey::follow(group.toUtf8().constData(), key.toUtf8().constData(),
                                    [this, group, key](const QVariant &value) { take(group, key, value); });
    };
    if (!groups.value(windowManager).contains(buttonLayout))
        buttonLayout_ = follow(windowManager, buttonLayout);
    if (!portalTellsContrast_ && !groups.value(accessibility).contains(highContrast))
        highContrast_ = follow(accessibility, highContrast);
}

void DesktopSettingsReader::portalSettingChanged(const QString &group, const QString &key,
                                                 const QDBusVariant &value)
{
    take(group, key, value.variant());
}

void DesktopSettingsReader::take(const QString &group, const QString &key, const QVariant &value)
{
    DesktopSettings &settings = DesktopSettings::session();
    if (group == appearance && key == contrast) {
        // 1 asks for higher contrast, 0 for none in particular. Where the portal has it, it has the last
        // word.
        portalTellsContrast_ = true;
        settings.setHighContrast(value.toUInt() == 1);
    } else if (group == accessibility && key == highContrast && !portalTellsContrast_) {
        settings.setHighContrast(value.toBool());
    } else if (group == windowManager && key == buttonLayout) {
        settings.setButtonLayout(value.toString());
    }
}

} // namespace tk
