// GLib's headers first: Qt's keyword macros (signals) would change them.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include "gsettings_key.h"

#include <QLibrary>
#include <QString>

#include <optional>

using namespace Qt::StringLiterals;

namespace tk {

namespace {

// GSettings' library, GIO, with GObject below it, is loaded only where GSettings is read: linked to the
// program, the two would add a megabyte to every start, those where the settings portal answers included.
// GLib itself comes with Qt.
struct Gio {
    decltype(&g_settings_backend_get_default) defaultBackend;
    decltype(&g_type_name) typeName;
    decltype(&g_object_unref) unref;
    decltype(&g_settings_schema_source_get_default) schemas;
    decltype(&g_settings_schema_source_lookup) lookUpSchema;
    decltype(&g_settings_schema_has_key) hasKey;
    decltype(&g_settings_schema_unref) unrefSchema;
    decltype(&g_settings_new_full) newSettings;
    decltype(&g_settings_get_value) value;
    decltype(&g_signal_connect_data) connect;
    decltype(&g_signal_handler_disconnect) disconnect;
};

const Gio *gio()
{
    static const std::optional<Gio> loaded = []() -> std::optional<Gio> {
        QLibrary library(u"gio-2.0"_s, 0);
        const auto find = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            return function != nullptr;
        };
        Gio found{};
        if (library.load() && find(found.defaultBackend, "g_settings_backend_get_default") &&
            find(found.typeName, "g_type_name") && find(found.unref, "g_object_unref") &&
            find(found.schemas, "g_settings_schema_source_get_default") &&
            find(found.lookUpSchema, "g_settings_schema_source_lookup") &&
            find(found.hasKey, "g_settings_schema_has_key") &&
            find(found.unrefSchema, "g_settings_schema_unref") &&
            find(found.newSettings, "g_settings_new_full") && find(found.value, "g_settings_get_value") &&
            find(found.connect, "g_signal_connect_data") &&
            find(found.disconnect, "g_signal_handler_disconnect"))
            return found;
        return std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}

// dconf, GNOME's store behind GSettings, makes a file of its own in the session's runtime directory when a
// program of the session first reads it. The program writes no file, so it reads dconf only once another
// program has made that file.
bool readsWithoutWriting(const Gio &gio)
{
    GSettingsBackend *backend = gio.defaultBackend();
    const bool dconf = g_str_equal(gio.typeName(G_OBJECT_TYPE(backend)), "DConfSettingsBackend");
    gio.unref(backend);
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
    const Gio *library = gio();
    if (!library || !readsWithoutWriting(*library))
        return nullptr;
    // GSettings ends the program on a schema or key that is not installed, so both are looked up first.
    GSettingsSchemaSource *schemas = library->schemas();
    GSettingsSchema *schema = schemas ? library->lookUpSchema(schemas, schemaId, TRUE) : nullptr;
    if (!schema)
        return nullptr;
    GSettings *settings =
        library->hasKey(schema, key) ? library->newSettings(schema, nullptr, nullptr) : nullptr;
    library->unrefSchema(schema);
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
    const auto changed = +[](GSettingsKey *followed) { followed->take(); };
    handler_ =
        gio()->connect(settings_, change.constData(), G_CALLBACK(changed), this, nullptr, G_CONNECT_SWAPPED);
}

GSettingsKey::~GSettingsKey()
{
    gio()->disconnect(settings_, handler_);
    gio()->unref(settings_);
}

void GSettingsKey::take()
{
    GVariant *value = gio()->value(settings_, key_.constData());
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN))
        taker_(static_cast<bool>(g_variant_get_boolean(value)));
    else if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING))
        taker_(QString::fromUtf8(g_variant_get_string(value, nullptr)));
    g_variant_unref(value);
}

} // namespace tk
