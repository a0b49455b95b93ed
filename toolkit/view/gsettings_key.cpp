// GLib's headers first: Qt's keyword macros (signals) would change them.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include "gsettings_key.h"

#include <QByteArray>
#include <QString>

namespace tk {

namespace {

// dconf, GNOME's store behind GSettings, makes a file of its own in the session's runtime directory the first
// time a program of the session reads it. The program writes no file, so it reads dconf only once another
// program has made that file (every GNOME session has).
bool readsWithoutWriting()
{
    GSettingsBackend *backend = g_settings_backend_get_default();
    const bool dconf = g_str_equal(G_OBJECT_TYPE_NAME(backend), "DConfSettingsBackend");
    g_object_unref(backend);
    if (!dconf)
        return true;
    gchar *changes = g_build_filename(g_get_user_runtime_dir(), "dconf", "user", nullptr);
    const bool made = g_file_test(changes, G_FILE_TEST_EXISTS);
    g_free(changes);
    return made;
}

} // namespace

std::unique_ptr<GSettingsKey> GSettingsKey::follow(const char *schemaId, const char *key, Taker taker)
{
    if (!readsWithoutWriting())
        return nullptr;
    // GSettings ends the program on a schema or key that is not installed, so both are looked up first.
    GSettingsSchemaSource *schemas = g_settings_schema_source_get_default();
    GSettingsSchema *schema = schemas ? g_settings_schema_source_lookup(schemas, schemaId, TRUE) : nullptr;
    if (!schema)
        return nullptr;
    GSettings *settings =
        g_settings_schema_has_key(schema, key) ? g_settings_new_full(schema, nullptr, nullptr) : nullptr;
    g_settings_schema_unref(schema);
    if (!settings)
        return nullptr;
    std::unique_ptr<GSettingsKey> followed(new GSettingsKey(settings, key, std::move(taker)));
    followed->take();
    return followed;
}

GSettingsKey::GSettingsKey(GSettings *settings, const char *key, Taker taker)
    : settings_(settings), key_(key), taker_(std::move(taker))
{
    // GSettings tells of a change only to a handler connected before the key was read.
    const QByteArray change = "changed::" + key_;
    handler_ = g_signal_connect_swapped(settings_, change.constData(),
                                        G_CALLBACK(+[](GSettingsKey *followed) { followed->take(); }), this);
}

GSettingsKey::~GSettingsKey()
{
    g_signal_handler_disconnect(settings_, handler_);
    g_object_unref(settings_);
}

void GSettingsKey::take()
{
    GVariant *value = g_settings_get_value(settings_, key_.constData());
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN))
        taker_(static_cast<bool>(g_variant_get_boolean(value)));
    else if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING))
        taker_(QString::fromUtf8(g_variant_get_string(value, nullptr)));
    g_variant_unref(value);
}

} // namespace tk
