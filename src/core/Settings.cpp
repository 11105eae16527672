#include "core/Settings.h"

#include "core/Conversions.h"
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

QSettings& SettingsStore::file(const QString& application) const
{
    auto it = m_files.find(application);
    if (it == m_files.end()) {
        const QString path = QDir(m_folder).filePath(application + QStringLiteral(".ini"));
        it = m_files.emplace(application, std::make_unique<QSettings>(path, QSettings::IniFormat))
                 .first;
    }
    return *it->second;
}

QString SettingsStore::GetSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& defaultValue) const
{
    const QVariant value = file(application).value(settingsPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::SaveSetting(const QString& application, const QString& section,
                                const QString& key, const QString& value)
{
    QSettings& settings = file(application);
    settings.setValue(settingsPath(section, key), value);
    writeThrough(settings);
}

void SettingsStore::DeleteSetting(const QString& application, const QString& section,
                                  const QString& key)
{
    QSettings& settings = file(application);
    settings.remove(settingsPath(section, key));
    writeThrough(settings);
}

void SettingsStore::writeThrough(QSettings& settings)
{
    QString reason;
    if (!makeOwnerOnlyFolder(m_folder)) {
        reason = QStringLiteral("The settings folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(m_folder));
    } else {
        // QSettings keeps the mode of the file it rewrites: the first one is made owner-only.
        // A file that cannot be made shows up as a failed write just below.
        (void)createOwnerOnlyFile(settings.fileName());
        settings.sync();
        if (settings.status() == QSettings::AccessError)
            reason = QStringLiteral("The settings file %1 cannot be written.")
                         .arg(QDir::toNativeSeparators(settings.fileName()));
        else if (settings.status() == QSettings::FormatError)
            reason = QStringLiteral("The settings file %1 is damaged and cannot be updated.")
                         .arg(QDir::toNativeSeparators(settings.fileName()));
    }
    if (reason.isEmpty() || m_writeFailureTold)
        return;
    m_writeFailureTold = true;
    if (m_onWriteFailure)
        m_onWriteFailure(reason);
}

bool SettingsStore::contains(const QString& application, const QString& section,
                             const QString& key) const
{
    return file(application).contains(settingsPath(section, key));
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
