#pragma once

#include "core/Result.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace halcyra {

// The help of the program folder: HTML topics in its "Help" subfolder and "contexts.txt" there,
// one line per context number: "<number> <file>[#anchor]", "#" starting a comment line.

// "<program folder>/Help".
QString helpFolderFor(const QString& programFolder);

// What one topic page holds, as far as the help needs it.
QString topicTitle(const QString& html);
// The page's text without tags and with entities decoded, for searching.
QString topicText(const QString& html);
// The names links can jump to: every id and every <a name>.
QSet<QString> topicAnchors(const QString& html);
// Every href and src of the page.
QStringList topicLinks(const QString& html);

// Whether `target` ("file", "file#anchor"), relative to `fromFolder` inside the help folder
// `folder`, names a file of the help that exists and, for a page, an anchor it has.
Status checkHelpTarget(const QString& folder, const QString& fromFolder, const QString& target);
// Every link of every page of the help that leads nowhere, as "page: link (why)". Links to
// other sites (http:, mailto: ...) are not followed.
QStringList brokenHelpLinks(const QString& folder);

class HelpTopics
{
public:
    struct Section
    {
        QString title;
        QUrl url;
    };
    struct Entry
    {
        QString title;
        QUrl url;
        QList<Section> sections;
    };
    struct Hit
    {
        QString title;
        QUrl url;
    };

    // Fails only when the help is not there at all: no folder or no readable contexts.txt.
    static Result<HelpTopics> load(const QString& folder);

    const QString& folder() const { return m_folder; }
    QList<int> contexts() const { return m_targets.keys(); }
    // Lines of contexts.txt that were skipped, and why.
    const QStringList& problems() const { return m_problems; }

    // The page of a context number; fails for a number without a line or a page that is missing.
    Result<QUrl> topicUrl(int context) const;
    // "file#anchor" as contexts.txt gives it.
    QString target(int context) const { return m_targets.value(context); }

    // Every page, those of contexts.txt first in its order, each with the sections the
    // contexts point into.
    QList<Entry> contents() const;
    // The pages holding every word of `text` (any letter case) in their title or text, those
    // with the words in the title first.
    QList<Hit> search(const QString& text) const;

private:
    QString m_folder;
    QMap<int, QString> m_targets;
    QStringList m_order; // the contexts' targets in file order
    QStringList m_problems;
};

} // namespace halcyra
