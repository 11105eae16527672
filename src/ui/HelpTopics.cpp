#include "ui/HelpTopics.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace halcyra {
namespace {

using Option = QRegularExpression::PatternOption;

QString readPage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

bool isPage(const QString& path)
{
    return path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
}

QStringList pagesIn(const QString& folder)
{
    QStringList pages;
    QDirIterator it(folder, {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        pages << QDir(folder).relativeFilePath(it.next());
    pages.sort();
    return pages;
}

QString decodeEntities(const QString& text)
{
    static const QHash<QString, QString> named{
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("ndash"), QStringLiteral("\u2013")},
        {QStringLiteral("mdash"), QStringLiteral("\u2014")},
        {QStringLiteral("hellip"), QStringLiteral("\u2026")},
        {QStringLiteral("lsquo"), QStringLiteral("\u2018")},
        {QStringLiteral("rsquo"), QStringLiteral("\u2019")},
        {QStringLiteral("ldquo"), QStringLiteral("\u201c")},
        {QStringLiteral("rdquo"), QStringLiteral("\u201d")},
        {QStringLiteral("copy"), QStringLiteral("\u00a9")},
    };
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);"));
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        QString replacement = m.captured(0);
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive)
                                  ? name.mid(2).toUInt(&ok, 16)
                                  : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = code;
                replacement = QString::fromUcs4(&c, 1);
            }
        } else if (named.contains(name)) {
            replacement = named.value(name);
        }
        out += replacement;
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QString withoutTags(const QString& html)
{
    static const QRegularExpression hidden(QStringLiteral("<(script|style|head)\\b.*?</\\1\\s*>"),
                                           Option::CaseInsensitiveOption |
                                               Option::DotMatchesEverythingOption);
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            Option::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QString text = html;
    text.remove(comment).remove(hidden).replace(tag, QStringLiteral(" "));
    return decodeEntities(text).replace(space, QStringLiteral(" ")).trimmed();
}

// The text of the element an anchor names, e.g. the heading `<h2 id="contact">`.
QString anchorTitle(const QString& html, const QString& anchor)
{
    const QRegularExpression element(
        QStringLiteral(
            "<([a-zA-Z0-9]+)[^>]*\\s(?:id|name)\\s*=\\s*[\"']%1[\"'][^>]*>(.*?)</\\1\\s*>")
            .arg(QRegularExpression::escape(anchor)),
        Option::DotMatchesEverythingOption);
    const QString text = withoutTags(element.match(html).captured(2));
    if (!text.isEmpty())
        return text;
    QString words = anchor;
    words.replace(u'-', u' ').replace(u'_', u' ');
    if (!words.isEmpty())
        words[0] = words[0].toUpper();
    return words;
}

QString fileOf(const QString& target)
{
    return target.section(u'#', 0, 0);
}

QString anchorOf(const QString& target)
{
    return target.section(u'#', 1);
}

QUrl pageUrl(const QString& folder, const QString& target)
{
    QUrl url = QUrl::fromLocalFile(QDir(folder).absoluteFilePath(fileOf(target)));
    if (!anchorOf(target).isEmpty())
        url.setFragment(anchorOf(target));
    return url;
}

QString titleOrName(const QString& folder, const QString& file)
{
    const QString title = topicTitle(readPage(QDir(folder).filePath(file)));
    return title.isEmpty() ? QFileInfo(file).completeBaseName() : title;
}

} // namespace

QString helpFolderFor(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Help"));
}

QString topicTitle(const QString& html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title\\s*>"),
                                          Option::CaseInsensitiveOption |
                                              Option::DotMatchesEverythingOption);
    return withoutTags(title.match(html).captured(1));
}

QString topicText(const QString& html)
{
    return withoutTags(html);
}

QSet<QString> topicAnchors(const QString& html)
{
    static const QRegularExpression id(
        QStringLiteral("<[a-zA-Z][^>]*?\\sid\\s*=\\s*[\"']([^\"']+)[\"']"));
    static const QRegularExpression name(
        QStringLiteral("<a\\s[^>]*?\\bname\\s*=\\s*[\"']([^\"']+)[\"']"),
        Option::CaseInsensitiveOption);
    QSet<QString> anchors;
    for (const QRegularExpression* pattern : {&id, &name}) {
        auto it = pattern->globalMatch(html);
        while (it.hasNext())
            anchors.insert(decodeEntities(it.next().captured(1)));
    }
    return anchors;
}

QStringList topicLinks(const QString& html)
{
    static const QRegularExpression link(
        QStringLiteral("<[a-zA-Z][^>]*?\\s(?:href|src)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        Option::CaseInsensitiveOption);
    QStringList links;
    auto it = link.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        links << decodeEntities(m.captured(1).isNull() ? m.captured(2) : m.captured(1));
    }
    return links;
}

Status checkHelpTarget(const QString& folder, const QString& fromFolder, const QString& target)
{
    const QUrl url(target);
    const QString root = QDir::cleanPath(QDir(folder).absolutePath());
    const QString path = url.path().isEmpty()
                             ? QString()
                             : QDir::cleanPath(QDir(fromFolder).absoluteFilePath(url.path()));
    if (!path.isEmpty() && !path.startsWith(root + u'/'))
        return fail(QStringLiteral("leads out of the help folder"));
    if (!path.isEmpty() && !QFileInfo(path).isFile())
        return fail(QStringLiteral("no file %1").arg(QDir(root).relativeFilePath(path)));
    const QString anchor = url.fragment();
    if (anchor.isEmpty() || (!path.isEmpty() && !isPage(path)))
        return {};
    if (path.isEmpty())
        return fail(QStringLiteral("a bare anchor needs its page"));
    if (!topicAnchors(readPage(path)).contains(anchor))
        return fail(QStringLiteral("no anchor \"%1\" in %2")
                        .arg(anchor, QDir(root).relativeFilePath(path)));
    return {};
}

QStringList brokenHelpLinks(const QString& folder)
{
    QStringList broken;
    for (const QString& page : pagesIn(folder)) {
        const QString pagePath = QDir(folder).filePath(page);
        const QString html = readPage(pagePath);
        for (const QString& link : topicLinks(html)) {
            const QUrl url(link);
            if (!url.scheme().isEmpty())
                continue; // another site, a mail address
            // A link within the page names the page itself.
            const QString target = url.path().isEmpty() ? QFileInfo(page).fileName() + link : link;
            const Status found =
                checkHelpTarget(folder, QFileInfo(pagePath).absolutePath(), target);
            if (!found)
                broken << QStringLiteral("%1: %2 (%3)").arg(page, link, found.error());
        }
    }
    return broken;
}

Result<HelpTopics> HelpTopics::load(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return fail(
            QStringLiteral("The help folder %1 is missing.").arg(QDir::toNativeSeparators(folder)));
    QFile file(QDir(folder).filePath(QStringLiteral("contexts.txt")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("The help's list of topics %1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    HelpTopics topics;
    topics.m_folder = QDir(folder).absolutePath();
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(space);
        bool ok = false;
        const int number = parts[0].toInt(&ok);
        QString why;
        if (!ok || number <= 0)
            why = QStringLiteral("no context number");
        else if (parts.size() < 2 || parts[1].startsWith(u'#'))
            why = QStringLiteral("no page");
        else if (parts.size() > 2 && !parts[2].startsWith(u'#'))
            why = QStringLiteral("more than a number and a page");
        else if (topics.m_targets.contains(number))
            why = QStringLiteral("context %1 given twice").arg(number);
        if (!why.isEmpty()) {
            topics.m_problems << QStringLiteral("line %1: %2").arg(i + 1).arg(why);
            continue;
        }
        topics.m_targets.insert(number, parts[1]);
        topics.m_order << parts[1];
    }
    return topics;
}

Result<QUrl> HelpTopics::topicUrl(int context) const
{
    if (!m_targets.contains(context))
        return fail(QStringLiteral("There is no help topic for context %1.").arg(context));
    const QString file = fileOf(m_targets.value(context));
    const Status exists = checkHelpTarget(m_folder, m_folder, file);
    if (!exists)
        return fail(QStringLiteral("The help topic for context %1 is missing: %2.")
                        .arg(context)
                        .arg(exists.error()));
    return pageUrl(m_folder, m_targets.value(context));
}

QList<HelpTopics::Entry> HelpTopics::contents() const
{
    QList<Entry> entries;
    QHash<QString, qsizetype> entryOfFile;
    auto entryFor = [&](const QString& file) -> Entry& {
        if (!entryOfFile.contains(file)) {
            entryOfFile.insert(file, entries.size());
            entries.append({titleOrName(m_folder, file), pageUrl(m_folder, file), {}});
        }
        return entries[entryOfFile.value(file)];
    };
    for (const QString& target : m_order) {
        const QString file = fileOf(target);
        if (!checkHelpTarget(m_folder, m_folder, file))
            continue;
        Entry& entry = entryFor(file);
        const QString anchor = anchorOf(target);
        const QUrl url = pageUrl(m_folder, target);
        const bool listed = std::any_of(entry.sections.cbegin(), entry.sections.cend(),
                                        [&](const Section& s) { return s.url == url; });
        if (!anchor.isEmpty() && !listed)
            entry.sections.append(
                {anchorTitle(readPage(QDir(m_folder).filePath(file)), anchor), url});
    }
    // Pages only reached by links come after, by title.
    const qsizetype listed = entries.size();
    for (const QString& page : pagesIn(m_folder))
        if (!entryOfFile.contains(page))
            entryFor(page);
    std::sort(entries.begin() + listed, entries.end(),
              [](const Entry& a, const Entry& b) { return a.title < b.title; });
    return entries;
}

QList<HelpTopics::Hit> HelpTopics::search(const QString& text) const
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    struct Scored
    {
        Hit hit;
        int score;
    };
    QList<Scored> found;
    for (const QString& page : pagesIn(m_folder)) {
        const QString html = readPage(QDir(m_folder).filePath(page));
        const QString title = topicTitle(html);
        const QString body = topicText(html);
        int score = 0;
        for (const QString& word : words) {
            const bool inTitle = title.contains(word, Qt::CaseInsensitive);
            const int inText = int(body.count(word, Qt::CaseInsensitive));
            if (!inTitle && inText == 0) {
                score = -1;
                break;
            }
            score += (inTitle ? 1000 : 0) + inText;
        }
        if (score >= 0)
            found.append({{title.isEmpty() ? QFileInfo(page).completeBaseName() : title,
                           pageUrl(m_folder, page)},
                          score});
    }
    std::stable_sort(found.begin(), found.end(), [](const Scored& a, const Scored& b) {
        return a.score != b.score ? a.score > b.score : a.hit.title < b.hit.title;
    });
    QList<Hit> hits;
    for (const Scored& s : found)
        hits << s.hit;
    return hits;
}

} // namespace halcyra
