#include "FlyerBook.h"

#include <QRegularExpression>

namespace halcyra::docgen {
namespace {

const QRegularExpression& fieldLine()
{
    static const QRegularExpression pattern(QStringLiteral("^([a-z][a-z0-9-]*):\\s*(.*)$"));
    return pattern;
}

const QRegularExpression& placeholder()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([a-z][a-z0-9-]*)([?]?)\\}"));
    return pattern;
}

QString withoutIndent(QStringView line)
{
    qsizetype cut = 0;
    while (cut < 2 && cut < line.size() && line.at(cut) == u' ')
        ++cut;
    return line.mid(cut).toString();
}

} // namespace

std::vector<FlyerSource> parseFlyerBook(const QString& origin, const QString& text,
                                        QStringList* errors)
{
    std::vector<FlyerSource> flyers;
    QString defaultTemplate;
    QString* openField = nullptr;
    int lineNumber = 0;
    auto fail = [&](const QString& what) {
        if (errors)
            errors->append(QStringLiteral("%1:%2: %3").arg(origin).arg(lineNumber).arg(what));
    };

    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'%'))
            continue;
        if (trimmed.isEmpty()) {
            if (openField)
                openField->append(u'\n');
            continue;
        }
        if (line.front().isSpace()) {
            if (!openField) {
                fail(QStringLiteral("an indented line continues no field"));
                continue;
            }
            openField->append(u'\n' + withoutIndent(line));
            continue;
        }
        if (trimmed.startsWith(u"===")) {
            const QString fileName = trimmed.mid(3).trimmed().toString();
            if (!fileName.endsWith(u".pdf", Qt::CaseInsensitive) || fileName.contains(u'/')) {
                fail(QStringLiteral("\"%1\" is not a PDF file name").arg(fileName));
                openField = nullptr;
                continue;
            }
            FlyerSource flyer;
            flyer.fileName = fileName;
            flyer.templateName = defaultTemplate;
            flyer.origin = QStringLiteral("%1:%2").arg(origin).arg(lineNumber);
            flyers.push_back(flyer);
            openField = nullptr;
            continue;
        }
        const QRegularExpressionMatch match = fieldLine().match(trimmed);
        if (!match.hasMatch()) {
            fail(QStringLiteral("expected \"=== file.pdf\" or \"field: text\""));
            openField = nullptr;
            continue;
        }
        const QString key = match.captured(1);
        const QString value = match.captured(2);
        if (flyers.empty()) {
            if (key == u"template")
                defaultTemplate = value;
            else
                fail(QStringLiteral("only \"template\" may stand before the first flyer"));
            openField = nullptr;
            continue;
        }
        FlyerSource& flyer = flyers.back();
        if (key == u"template") {
            flyer.templateName = value;
            openField = nullptr;
            continue;
        }
        if (flyer.fields.contains(key))
            fail(QStringLiteral("field \"%1\" is given twice").arg(key));
        flyer.fields.insert(key, value);
        openField = &flyer.fields[key];
    }

    for (FlyerSource& flyer : flyers) {
        for (QString& value : flyer.fields)
            value = value.trimmed();
        if (flyer.templateName.isEmpty() && errors)
            errors->append(QStringLiteral("%1: no template").arg(flyer.origin));
    }
    return flyers;
}

QString fillTemplate(const QString& templateText, const QMap<QString, QString>& fields,
                     QStringList* errors)
{
    QStringList output;
    for (const QString& line : templateText.split(u'\n')) {
        const QRegularExpressionMatch whole = placeholder().match(line.trimmed());
        if (whole.hasMatch() && whole.capturedLength() == line.trimmed().size()) {
            const QString key = whole.captured(1);
            if (fields.contains(key))
                output.append(fields.value(key));
            else if (whole.captured(2).isEmpty() && errors)
                errors->append(QStringLiteral("missing field \"%1\"").arg(key));
            continue;
        }
        QString filled;
        qsizetype done = 0;
        auto it = placeholder().globalMatch(line);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            filled += line.mid(done, match.capturedStart() - done);
            const QString key = match.captured(1);
            if (fields.contains(key))
                filled += fields.value(key).simplified();
            else if (match.captured(2).isEmpty() && errors)
                errors->append(QStringLiteral("missing field \"%1\"").arg(key));
            done = match.capturedEnd();
        }
        filled += line.mid(done);
        output.append(filled);
    }
    return output.join(u'\n');
}

QStringList parseNameList(const QString& text)
{
    QStringList names;
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(u'%'))
            names.append(trimmed.toString());
    }
    return names;
}

} // namespace halcyra::docgen
