#include "core/Settings.h"

#include "core/Conversions.h"
#include "core/IniText.h"
#include "core/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <sys/stat.h>

namespace halcyra {
namespace {

QString settingsPath(const QString& section, const QString& key)
{
    return section + u'/' + key;
}

// The file's values; a file not there yet holds none. Never creates the file.
Result<IniValues> readSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return IniValues{};
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The settings file %1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("The settings file %1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    return readIniText(text);
}

} // namespace

SettingsStore::SettingsStore(QString folder) : m_folder(std::move(folder)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFolder()
{
    const QString overridden = qEnvironmentVariable("HALCYRA_CONFIG_DIR");
    if (!overridden.isEmpty())
        return overridden;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Halcyra"));
}

QString SettingsStore::pathOf(const QString& application) const
{
    return QDir(m_folder).filePath(application + QStringLiteral(".ini"));
}

SettingsStore::FileIdentity SettingsStore::identityOf(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_dev, info.st_ino, info.st_size,
            info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
}

SettingsStore::File& SettingsStore::file(const QString& application) const
{
    File& file = m_files[application];
    const QString path = pathOf(application);
    const FileIdentity now = identityOf(path);
    if (!file.loaded || now != file.readFrom) {
        // A file that cannot be read gives the defaults; writing it is refused with the reason.
        Result<IniValues> read = readSettingsFile(path);
        file.values = read ? std::move(read->values) : std::map<QString, QVariant>{};
        file.readFrom = now;
        file.loaded = true;
    }
    return file;
}

QString SettingsStore::value(const QString& application, const QString& section, const QString& key,
                             const QString& defaultValue) const
{
    const File& settings = file(application);
    const QString path = settingsPath(section, key);
    if (const auto it = settings.unwritten.find(path); it != settings.unwritten.end())
        return it->second.value_or(defaultValue);
    const auto it = settings.values.find(path);
    return it != settings.values.end() && it->second.isValid() ? it->second.toString()
                                                               : defaultValue;
}

void SettingsStore::setValue(const QString& application, const QString& section, const QString& key,
                             const QString& value)
{
    file(application).unwritten[settingsPath(section, key)] = value;
    writeThrough(application);
}

void SettingsStore::remove(const QString& application, const QString& section, const QString& key)
{
    file(application).unwritten[settingsPath(section, key)] = std::nullopt;
    writeThrough(application);
}

void SettingsStore::writeThrough(const QString& application)
{
    File& settings = file(application);
    const QString path = pathOf(application);
    QString reason;
    if (!makeOwnerOnlyFolder(m_folder)) {
        reason = QStringLiteral("The settings folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(m_folder));
    } else {
        // What another program wrote meanwhile is kept: the file is read again and only this
        // store's changes go on top of it.
        Result<IniValues> current = readSettingsFile(path);
        if (!current) {
            reason = current.error();
        } else if (current->damaged) {
            reason = QStringLiteral("The settings file %1 is damaged and cannot be updated.")
                         .arg(QDir::toNativeSeparators(path));
        } else {
            std::map<QString, QVariant> values = std::move(current->values);
            for (const auto& [key, value] : settings.unwritten) {
                if (value)
                    values[key] = *value;
                else
                    values.erase(key);
            }
            if (const Status written = writeFileWhole(path, iniText(values)); !written) {
                reason = QStringLiteral("The settings file %1 cannot be written: %2")
                             .arg(QDir::toNativeSeparators(path), written.error());
            } else {
                settings.values = std::move(values);
                settings.readFrom = identityOf(path);
                settings.unwritten.clear();
                return;
            }
        }
    }
    if (m_writeFailureTold)
        return;
    m_writeFailureTold = true;
    if (m_onWriteFailure)
        m_onWriteFailure(reason);
}

bool SettingsStore::contains(const QString& application, const QString& section,
                             const QString& key) const
{
    const File& settings = file(application);
    const QString path = settingsPath(section, key);
    if (const auto it = settings.unwritten.find(path); it != settings.unwritten.end())
        return it->second.has_value();
    const auto it = settings.values.find(path);
    return it != settings.values.end() && it->second.isValid();
}

QString SettingsStore::get(const SettingKey& key) const
{
    return value(key.application, key.section, key.key, key.defaultValue);
}

void SettingsStore::save(const SettingKey& key, const QString& value)
{
    setValue(key.application, key.section, key.key, value);
}

bool SettingsStore::flag(const SettingKey& key) const
{
    return textToBoolean(get(key), textToBoolean(key.defaultValue));
}

void SettingsStore::saveFlag(const SettingKey& key, bool value)
{
    save(key, booleanToText(value));
}

} // namespace halcyra
