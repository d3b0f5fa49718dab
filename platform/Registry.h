#pragma once

#include <QString>
#include <memory>

class QSettings;

// String values under a key of the current user's settings root. On Windows the key is the registry key
// of HKEY_CURRENT_USER; elsewhere each key is one file among Qt's native user settings, named after the
// key's path ("\SOFTWARE\Tramuvel" is SOFTWARE/Tramuvel.conf there), and the key exists while its file
// does. Like the registry, names of keys and values are matched without regard to case.
namespace platform {

class Registry {
public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Makes `key` the current key; false when it is missing and may not be created, or cannot be made.
    bool openKey(const QString& key, bool canCreate);
    void closeKey();
    bool hasCurrentKey() const { return settings_ != nullptr; }
    bool keyExists(const QString& key) const;
    bool valueExists(const QString& name) const;

    // The value as text; empty when there is no current key or no such value. A value of another type
    // than a (plain or expandable) string fails with "Invalid data type for '%s'".
    QString readString(const QString& name) const;
    // Fails with "Failed to set data for '%s'" when there is no current key (or it has gone since it was
    // opened) or the value cannot be stored.
    void writeString(const QString& name, const QString& value);

    // Where a key is kept on this machine: the registry path on Windows, the file elsewhere.
    static QString location(const QString& key);

private:
    QString currentKey_;
    std::unique_ptr<QSettings> settings_;
};

} // namespace platform
