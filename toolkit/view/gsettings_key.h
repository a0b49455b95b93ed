#pragma once

#include <QByteArray>
#include <QVariant>

#include <functional>
#include <memory>

struct _GSettings;

namespace tk {

// One key of GSettings, read and followed for as long as this lives: its value, a string or a boolean, is
// handed to the taker at once and again at each change, on the thread that runs GLib's main context (Qt's
// own event loop). Reading is local; nothing waits on the session bus.
class GSettingsKey
{
public:
    using Taker = std::function<void(const QVariant &)>;

    // Null where the key cannot be read: its schema is not installed, or reading it would leave a file
    // behind.
    static std::unique_ptr<GSettingsKey> follow(const char *schema, const char *key, Taker taker);
    ~GSettingsKey();
    GSettingsKey(const GSettingsKey &) = delete;
    GSettingsKey &operator=(const GSettingsKey &) = delete;

private:
    GSettingsKey(_GSettings *settings, const char *key, Taker taker);
    void take();

    _GSettings *settings_;
    QByteArray key_;
    Taker taker_;
    unsigned long handler_;
};

} // namespace tk
