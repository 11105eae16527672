#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QSettings;

namespace halcyra {

// Where a setting lives and what it reads when it has never been stored.
struct SettingKey
{
    QString application; // AppExeName() or AppTitle()
    QString section;
    QString key;
    QString defaultValue;
};

// The per-user settings store: string values addressed by application name, section and key.
// Each application name is one INI file in the store's folder; a section is a group.
class SettingsStore
{
public:
    // `folder` holds the INI files; tests give a temporary folder.
    explicit SettingsStore(QString folder);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The user's folder: $HALCYRA_CONFIG_DIR when set, else "Halcyra" in the config folder.
    static QString defaultFolder();
    QString folder() const { return m_folder; }

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    // Stores the value and writes the file at once, so nothing waits for the program's end.
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value);
    void DeleteSetting(const QString& application, const QString& section, const QString& key);
    bool contains(const QString& application, const QString& section, const QString& key) const;

    QString get(const SettingKey& key) const;
    void save(const SettingKey& key, const QString& value);
    // The setting read as a flag ("True"/"False" or a number; see textToBoolean).
    bool flag(const SettingKey& key) const;
    void saveFlag(const SettingKey& key, bool value);

    // Told, with the reason, the first time a setting cannot be written; later failures of the
    // session are not repeated. The value stays in memory, so the session goes on as chosen.
    void setWriteFailureHandler(std::function<void(const QString& reason)> handler)
    {
        m_onWriteFailure = std::move(handler);
    }

private:
    // One INI file: read through QSettings, written by the store itself (whole, to a new file
    // that replaces the old one only once it is on the disk). Changes not yet written stay
    // here; an empty value in `unwritten` stands for a removed key.
    struct File
    {
        std::unique_ptr<QSettings> reader;
        std::map<QString, std::optional<QString>> unwritten;
    };

    File& file(const QString& application) const;
    QString pathOf(const QString& application) const;
    // Writes the file with its unwritten changes and says why when it could not.
    void writeThrough(const QString& application);

    QString m_folder;
    mutable std::map<QString, File> m_files;
    std::function<void(const QString&)> m_onWriteFailure;
    bool m_writeFailureTold = false;
};

} // namespace halcyra
