#pragma once

#include <QString>
#include <QTemporaryDir>

namespace halcyra::test {

// A fresh program folder and settings folder for one test: nothing touches the user's own.
class TempProgramFolder
{
public:
    TempProgramFolder();

    bool isValid() const { return m_dir.isValid(); }
    // The program folder, ending in the separator, as start-up stores it.
    QString folder() const;
    QString settingsFolder() const;
    QString path(const QString& fileName) const;

    // Creates HCY300.db from the built-in schema.
    void createDatabase() const;
    // Writes a file into the program folder.
    void writeFile(const QString& fileName, const QByteArray& content) const;

private:
    QTemporaryDir m_dir;
};

} // namespace halcyra::test
