#include "core/Catalogue.h"

#include "core/Conversions.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <algorithm>

namespace halcyra {
namespace {

constexpr int kLargestId = 65535;

QString unquoted(QStringView value)
{
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        return value.mid(1, value.size() - 2).toString();
    return value.toString();
}

QString problem(const QString& source, int line, const QString& what)
{
    return QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(what);
}

} // namespace

Catalogue Catalogue::builtIn()
{
    QStringList errors;
    Catalogue catalogue = fromFolder(QStringLiteral(":/catalogue"), &errors);
    for (const QString& error : errors)
        qWarning().noquote() << "catalogue:" << error;
    return catalogue;
}

Catalogue Catalogue::fromFolder(const QString& folder, QStringList* errors)
{
    Catalogue catalogue;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name);
    if (names.isEmpty() && errors)
        errors->append(QStringLiteral("%1: no catalogue files").arg(folder));
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            if (errors)
                errors->append(QStringLiteral("%1: %2").arg(name, file.errorString()));
            continue;
        }
        catalogue.addSource(name, QString::fromUtf8(file.readAll()), errors);
    }
    return catalogue;
}

bool Catalogue::addSource(const QString& sourceName, QStringView content, QStringList* errors)
{
    bool ok = true;
    auto fail = [&](int line, const QString& what) {
        ok = false;
        if (errors)
            errors->append(problem(sourceName, line, what));
    };

    int currentId = -1;
    int lineNumber = 0;
    for (QStringView rawLine : content.split(u'\n')) {
        ++lineNumber;
        if (rawLine.endsWith(u'\r'))
            rawLine.chop(1);
        const QStringView trimmed = rawLine.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;

        if (trimmed.startsWith(u'+') && rawLine.front().isSpace()) {
            if (currentId < 0) {
                fail(lineNumber, QStringLiteral("continuation without an entry"));
                continue;
            }
            const QStringView piece = trimmed.mid(1).trimmed();
            QString& text = m_texts[currentId];
            text += u' ';
            text += unquoted(piece);
            continue;
        }

        currentId = -1;
        const qsizetype equals = rawLine.indexOf(u'=');
        if (equals < 0) {
            fail(lineNumber, QStringLiteral("expected \"ID = text\""));
            continue;
        }
        bool isNumber = false;
        const int id = rawLine.left(equals).trimmed().toInt(&isNumber);
        if (!isNumber || id < 0 || id > kLargestId) {
            fail(lineNumber, QStringLiteral("the id must be a number from 0 to 65535"));
            continue;
        }
        if (m_texts.contains(id)) {
            fail(lineNumber, QStringLiteral("id %1 is given twice").arg(id));
            continue;
        }
        m_texts.insert(id, unquoted(rawLine.mid(equals + 1).trimmed()));
        currentId = id;
    }
    return ok;
}

QString Catalogue::LoadResString(int id) const
{
    return m_texts.value(id);
}

int Catalogue::count(int countId) const
{
    return leadingInteger(m_texts.value(countId));
}

std::vector<int> Catalogue::ids() const
{
    std::vector<int> result;
    result.reserve(static_cast<size_t>(m_texts.size()));
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        result.push_back(it.key());
    std::sort(result.begin(), result.end());
    return result;
}

} // namespace halcyra
