// The text form of a message sent straight to a mail server: header lines a server takes and a
// mail program decodes back to what the adviser typed.

#include "ui/MailFormat.h"

#include <QLocale>
#include <QStringDecoder>
#include <QTest>
#include <QTimeZone>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

// A header value as a mail program shows it: folds undone, encoded words decoded. Each encoded
// word must be whole UTF-8 on its own, or a reader shows replacement marks.
QString decodedValue(const QByteArray& value, QString* problem)
{
    QByteArray unfolded = value;
    unfolded.replace("\r\n ", " ");
    if (!unfolded.startsWith("=?"))
        return QString::fromLatin1(unfolded);
    QString text;
    for (const QByteArray& word : unfolded.split(' ')) {
        if (!word.startsWith("=?UTF-8?B?") || !word.endsWith("?=") || word.size() > 75) {
            *problem = u"not an encoded word: "_s + QString::fromLatin1(word);
            return {};
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text += utf8(QByteArray::fromBase64(word.mid(10, word.size() - 12)));
        if (utf8.hasError())
            *problem = u"a character split between encoded words"_s;
    }
    return text;
}

} // namespace

class MailFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void subjectLinesAServerTakes_data();
    void subjectLinesAServerTakes();
    void dateInTheMailFormsOwnWords_data();
    void dateInTheMailFormsOwnWords();
    void namesBeforeAddressesAndOnAttachments_data();
    void namesBeforeAddressesAndOnAttachments();
};

void MailFormatTest::subjectLinesAServerTakes_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("shown"); // as a mail program shows it
    // The longest line allowed: folded plain text keeps to 78; encoded words keep each word to
    // 75 characters, and the line to the 998 every server must take.
    QTest::addColumn<int>("longest");

    const QString longWords = u"A long subject line "_s.repeated(20).trimmed();
    const QString oneWord = u"x"_s.repeated(1200);
    // Four-byte characters across the 45-byte chunks of the encoded words.
    const QString emoji = u"\U0001F600"_s.repeated(30);
    QTest::newRow("plain") << u"HCY Questionnaire"_s << u"HCY Questionnaire"_s << 78;
    QTest::newRow("long plain, folded at blanks") << longWords << longWords << 78;
    QTest::newRow("one word longer than a line may be") << oneWord << oneWord << 998;
    QTest::newRow("beyond ASCII") << u"Fragebogen für Zoë – bitte ausfüllen"_s
                                  << u"Fragebogen für Zoë – bitte ausfüllen"_s << 998;
    QTest::newRow("characters of four bytes") << emoji << emoji << 998;
    QTest::newRow("a line break cannot start a header")
        << u"Hello\r\nBcc: everyone@example.net"_s << u"Hello  Bcc: everyone@example.net"_s << 78;
}

void MailFormatTest::subjectLinesAServerTakes()
{
    QFETCH(QString, subject);
    QFETCH(QString, shown);
    QFETCH(int, longest);
    const QList<QByteArray> lines = messageHeaders(
        QDateTime(QDate(2026, 12, 9), QTime(16, 5), QTimeZone::utc()), u"Dana Reyes"_s,
        "<adviser@example.org>", "<client@example.net>", subject, "id@example.org");
    QCOMPARE(lines.size(), 5);
    const QByteArray& header = lines[3];
    QVERIFY(header.startsWith("Subject: "));
    const QList<QByteArray> physical = header.split('\n');
    for (qsizetype i = 0; i < physical.size(); ++i) {
        QByteArray line = physical[i];
        if (i + 1 < physical.size()) {
            QVERIFY2(line.endsWith('\r'), line.constData());
            line.chop(1);
        }
        QVERIFY2(line.size() <= longest, qPrintable(u"%1 bytes"_s.arg(line.size())));
        if (i > 0)
            QVERIFY2(line.startsWith(' '), line.constData()); // a continuation, not a header
    }
    QString problem;
    QCOMPARE(decodedValue(header.mid(9), &problem), shown);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void MailFormatTest::dateInTheMailFormsOwnWords_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("east of Greenwich")
        << QDateTime(QDate(2026, 12, 9), QTime(16, 5, 7), QTimeZone(3600))
        << QByteArray("Date: Wed, 09 Dec 2026 16:05:07 +0100");
    QTest::newRow("west, half an hour")
        << QDateTime(QDate(2027, 3, 1), QTime(8, 0), QTimeZone(-12600))
        << QByteArray("Date: Mon, 01 Mar 2027 08:00:00 -0330");
}

void MailFormatTest::dateInTheMailFormsOwnWords()
{
    QFETCH(QDateTime, when);
    QFETCH(QByteArray, header);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QList<QByteArray> lines =
        messageHeaders(when, {}, "<a@example.org>", "<b@example.net>", u"S"_s, "id@example.org");
    QLocale::setDefault(before);
    QCOMPARE(lines.value(0), header);
    QCOMPARE(lines.value(1), QByteArray("From: <a@example.org>"));
    QCOMPARE(lines.value(4), QByteArray("Message-ID: <id@example.org>"));
}

void MailFormatTest::namesBeforeAddressesAndOnAttachments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("display");     // before the sender address
    QTest::addColumn<QByteArray>("plainName");   // of an attachment so named
    QTest::addColumn<QByteArray>("disposition"); // its line, when the plain name cannot stand
    QTest::newRow("plain") << u"HCYQ Reyes, Dana.doc"_s << QByteArray("\"HCYQ Reyes, Dana.doc\" ")
                           << QByteArray("HCYQ Reyes, Dana.doc") << QByteArray();
    QTest::newRow("quotes") << u"Reyes \"Dana\""_s << QByteArray("\"Reyes \\\"Dana\\\"\" ")
                            << QByteArray()
                            << QByteArray("Content-Disposition: attachment; "
                                          "filename*=UTF-8''Reyes%20%22Dana%22");
    QTest::newRow("beyond ASCII") << u"Zoë.doc"_s << QByteArray("=?UTF-8?B?Wm/Dqy5kb2M=?= ")
                                  << QByteArray()
                                  << QByteArray("Content-Disposition: attachment; "
                                                "filename*=UTF-8''Zo%C3%AB.doc");
    QTest::newRow("already encoded words")
        << u"=?UTF-8?B?SMOpbGxv?="_s << QByteArray("=?UTF-8?B?SMOpbGxv?= ")
        << QByteArray("=?UTF-8?B?SMOpbGxv?=") << QByteArray();
    QTest::newRow("control character")
        << u"a\tb.txt"_s << QByteArray("\"a b.txt\" ") << QByteArray("a b.txt") << QByteArray();
    QTest::newRow("blank") << u"  "_s << QByteArray() << QByteArray("  ") << QByteArray();
}

void MailFormatTest::namesBeforeAddressesAndOnAttachments()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, plainName);
    QFETCH(QByteArray, disposition);
    QCOMPARE(displayName(name), display);
    const AttachmentNaming naming = attachmentNaming(name);
    QCOMPARE(naming.plainName, plainName);
    QCOMPARE(naming.dispositionLine, disposition);
}

QTEST_APPLESS_MAIN(MailFormatTest)
#include "tst_mail_format.moc"
