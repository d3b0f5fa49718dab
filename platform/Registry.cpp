#include "platform/Registry.h"

#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace platform {
namespace {

QStringList keyComponents(const QString& key) {
    return QString(key).replace('\\', '/').split('/', Qt::SkipEmptyParts);
}

#ifndef Q_OS_WIN
// Qt's folder for the user's native settings, as QSettings::setPath may have changed it.
QString userSettingsFolder() {
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tramuvel"),
                          QStringLiteral("probe"));
    return QFileInfo(QFileInfo(probe.fileName()).absolutePath()).absolutePath();
}

// The entry of `folder` named `name` without regard to case; `name` itself when there is none.
QString matchEntry(const QString& folder, const QString& name) {
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (entries.contains(name)) return name;
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return name;
}
#endif

// The stored name of a value without regard to case; `name` itself when there is none.
QString storedName(const QSettings& settings, const QString& name) {
    const QStringList keys = settings.childKeys();
    if (keys.contains(name)) return name;
    for (const QString& key : keys)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return key;
    return name;
}

} // namespace

Registry::Registry() = default;
Registry::~Registry() = default;

QString Registry::location(const QString& key) {
    const QStringList parts = keyComponents(key);
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\") + parts.join('\\');
#else
    QString path = userSettingsFolder();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const QString name = last ? parts[i] + QStringLiteral(".conf") : parts[i];
        path += '/' + matchEntry(path, name);
    }
    return path;
#endif
}

bool Registry::keyExists(const QString& key) const {
    const QStringList parts = keyComponents(key);
    if (parts.isEmpty()) return true;
#ifdef Q_OS_WIN
    QSettings parent(QStringLiteral("HKEY_CURRENT_USER\\") + parts.mid(0, parts.size() - 1).join('\\'),
                     QSettings::NativeFormat);
    for (const QString& group : parent.childGroups())
        if (group.compare(parts.last(), Qt::CaseInsensitive) == 0) return true;
    return false;
#else
    return QFileInfo(location(key)).isFile();
#endif
}

bool Registry::openKey(const QString& key, bool canCreate) {
    if (!keyExists(key)) {
        if (!canCreate) return false;
#ifdef Q_OS_WIN
        QSettings(location(key), QSettings::NativeFormat).sync();
#else
        const QString file = location(key);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile(file).open(QIODevice::WriteOnly | QIODevice::Append);
#endif
        if (!keyExists(key)) return false;
    }
    closeKey();
#ifdef Q_OS_WIN
    settings_ = std::make_unique<QSettings>(location(key), QSettings::NativeFormat);
#else
    settings_ = std::make_unique<QSettings>(location(key), QSettings::IniFormat);
#endif
    currentKey_ = key;
    return true;
}

void Registry::closeKey() {
    settings_.reset();
    currentKey_.clear();
}

bool Registry::valueExists(const QString& name) const {
    if (!settings_) return false;
    settings_->sync();
    return settings_->contains(storedName(*settings_, name));
}

QString Registry::readString(const QString& name) const {
    if (!valueExists(name)) return {};
    const QVariant value = settings_->value(storedName(*settings_, name));
    if (value.typeId() != QMetaType::QString) throw Error(formatMessage("Invalid data type for '%s'", name));
    return value.toString();
}

void Registry::writeString(const QString& name, const QString& value) {
    const auto fail = [&] { throw Error(formatMessage("Failed to set data for '%s'", name)); };
    if (!settings_ || !keyExists(currentKey_)) fail();
    settings_->setValue(storedName(*settings_, name), value);
    settings_->sync();
    if (settings_->status() != QSettings::NoError) fail();
}

} // namespace platform
