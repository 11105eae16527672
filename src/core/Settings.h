#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>

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

    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& defaultValue = {}) const;
    // Stores the value and writes the file at once, so nothing waits for the program's end.
    void setValue(const QString& application, const QString& section, const QString& key,
                  const QString& value);
    void remove(const QString& application, const QString& section, const QString& key);
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
    struct FileIdentity
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    // One INI file as this store knows it: what it last read or wrote, and the changes not yet
    // written (an empty value there stands for a removed key).
    struct File
    {
        bool loaded = false;
        // Which file on the disk `values` came from: every write replaces the file by a new
        // one, so a change of these means another store or program wrote it since.
        FileIdentity readFrom;
        std::map<QString, QVariant> values;
        std::map<QString, std::optional<QString>> unwritten;
    };

    static FileIdentity identityOf(const QString& path);
    File& file(const QString& application) const;
    QString pathOf(const QString& application) const;
    // Writes the file, read again with the unwritten changes on top; says why when it could not.
    void writeThrough(const QString& application);

    QString m_folder;
    mutable std::map<QString, File> m_files;
    std::function<void(const QString&)> m_onWriteFailure;
    bool m_writeFailureTold = false;
};

} // namespace halcyra
