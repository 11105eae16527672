#include "core/Settings.h"

#include "core/Conversions.h"
#include "core/IniText.h"
#include "core/OutputFile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace halcyra {
namespace {

QString settingsPath(const QString& section, const QString& key)
{
    return section + u'/' + key;
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

SettingsStore::File& SettingsStore::file(const QString& application) const
{
    File& file = m_files[application];
    if (!file.reader)
        file.reader = std::make_unique<QSettings>(pathOf(application), QSettings::IniFormat);
    return file;
}

QString SettingsStore::GetSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& defaultValue) const
{
    const File& settings = file(application);
    const QString path = settingsPath(section, key);
    if (const auto it = settings.unwritten.find(path); it != settings.unwritten.end())
        return it->second.value_or(defaultValue);
    const QVariant value = settings.reader->value(path);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::SaveSetting(const QString& application, const QString& section,
                                const QString& key, const QString& value)
{
    file(application).unwritten[settingsPath(section, key)] = value;
    writeThrough(application);
}

void SettingsStore::DeleteSetting(const QString& application, const QString& section,
                                  const QString& key)
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
        const QSettings current(path, QSettings::IniFormat);
        if (current.status() == QSettings::FormatError) {
            reason = QStringLiteral("The settings file %1 is damaged and cannot be updated.")
                         .arg(QDir::toNativeSeparators(path));
        } else {
            std::map<QString, QVariant> values;
            for (const QString& key : current.allKeys())
                values[key] = current.value(key);
            for (const auto& [key, value] : settings.unwritten) {
                if (value)
                    values[key] = *value;
                else
                    values.erase(key);
            }
            if (const Status written = writeFileWhole(path, iniText(values)); !written)
                reason = QStringLiteral("The settings file %1 cannot be written: %2")
                             .arg(QDir::toNativeSeparators(path), written.error());
        }
    }
    if (reason.isEmpty()) {
        settings.unwritten.clear();
        settings.reader = std::make_unique<QSettings>(path, QSettings::IniFormat);
        return;
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
    return settings.reader->contains(path);
}

QString SettingsStore::get(const SettingKey& key) const
{
    return GetSetting(key.application, key.section, key.key, key.defaultValue);
}

void SettingsStore::save(const SettingKey& key, const QString& value)
{
    SaveSetting(key.application, key.section, key.key, value);
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
