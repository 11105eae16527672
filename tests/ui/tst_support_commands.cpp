#include "core/ErrorReporter.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "support/ScriptedPrompts.h"
#include "support/TempProgramFolder.h"
#include "ui/SupportCommands.h"

#include <QFile>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class SupportCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void wordsAreTheirCommandsInAnyCase();
    void effectsOnSettings_data();
    void effectsOnSettings();
    void errorLogMailAndConverter();
};

void SupportCommandsTest::wordsAreTheirCommandsInAnyCase()
{
    // Five words of 8, 7, 6, 7 and 5 letters, one per command, in command order.
    const QList<int> lengths = {8, 7, 6, 7, 5};
    QCOMPARE(supportWords().size(), size_t(5));
    for (size_t i = 0; i < supportWords().size(); ++i) {
        const SupportWord& entry = supportWords()[i];
        const QString word = QString(entry.word);
        QCOMPARE(word.size(), lengths[qsizetype(i)]);
        QCOMPARE(int(entry.command), int(i) + 1);
        QCOMPARE(supportCommandFor(word.toUpper()), entry.command);
        QCOMPARE(supportCommandFor(u"  "_s + word.left(1).toUpper() + word.mid(1) + u" "_s),
                 entry.command);
        QCOMPARE(supportCommandFor(word.chopped(1)), SupportCommand::None);
        QCOMPARE(supportCommandFor(word + u"x"_s), SupportCommand::None);
    }
    QCOMPARE(supportCommandFor(QString()), SupportCommand::None);
}

void SupportCommandsTest::effectsOnSettings_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("goneKeys"); // "section/key" of HCY that no longer hold a value
    QTest::addColumn<bool>("logged");
    QTest::newRow("anything else") << 0 << QStringList() << false;
    QTest::newRow("database path") << 3 << QStringList{u"Database/DBPath"_s} << true;
    QTest::newRow("newP") << 4 << QStringList{u"Settings/newP"_s} << false;
    QTest::newRow("reader path") << 5 << QStringList{u"CallPrograms/Acrobat Reader"_s} << false;
}

void SupportCommandsTest::effectsOnSettings()
{
    QFETCH(int, command);
    QFETCH(QStringList, goneKeys);
    QFETCH(bool, logged);

    test::TempProgramFolder folder;
    test::ScriptedPrompts prompts;
    SettingsStore settings(folder.settingsFolder());
    ErrorReporter reporter(folder.folder(), prompts);
    const QStringList keys = {u"Database/DBPath"_s, u"Settings/newP"_s,
                              u"CallPrograms/Acrobat Reader"_s, u"Options/F1 Help"_s};
    for (const QString& key : keys)
        settings.setValue(AppExeName(), key.section(u'/', 0, 0), key.section(u'/', 1), u"v"_s);

    const QString typed =
        command ? QString(supportWords()[size_t(command - 1)].word) : u"not a command"_s;
    const auto outcome = runSupportCommand(
        typed, SupportContext{settings, reporter, folder.folder(), u"help@example.org"_s});
    QVERIFY(outcome.ok());
    for (const QString& key : keys) {
        const QString value =
            settings.value(AppExeName(), key.section(u'/', 0, 0), key.section(u'/', 1));
        QCOMPARE(value.isEmpty(), goneKeys.contains(key));
    }
    QFile log(reporter.logPath());
    QCOMPARE(log.exists(), logged);
    if (logged) {
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        QVERIFY2(text.contains(u"Host directory: "_s + QDir::toNativeSeparators(folder.folder())) &&
                     text.contains(u"stored database path: \"\""_s),
                 qPrintable(text));
        QVERIFY(prompts.shown().isEmpty()); // a line in the log, no box
    }
}

void SupportCommandsTest::errorLogMailAndConverter()
{
    test::TempProgramFolder folder;
    test::ScriptedPrompts prompts;
    SettingsStore settings(folder.settingsFolder());
    ErrorReporter reporter(folder.folder(), prompts);
    const SupportContext context{settings, reporter, folder.folder(), u"help@example.org"_s};

    const auto mail = runSupportCommand(QString(supportWords()[0].word), context);
    QCOMPARE(mail->command, SupportCommand::MailErrorLog);
    QCOMPARE(mail->email.toAddress, u"help@example.org"_s);
    QCOMPARE(mail->email.subject, u"HCY Errors"_s);
    QCOMPARE(mail->email.body, u"Error info attached."_s);
    QCOMPARE(mail->email.attachment, folder.folder() + u"ErrHCY.log"_s);
    // Not the questionnaire mode, whose Abort deletes the attachment: the log must stay.
    QVERIFY(mail->email.mode != u"2"_s);

    // A converter that is not there is said, so the program is not closed for nothing.
    const QString convert = QString(supportWords()[1].word);
    const auto missing = runSupportCommand(convert, context);
    QVERIFY(!missing.ok());
    QVERIFY(missing.error().contains(QDir::toNativeSeparators(converterPath(folder.folder()))));

    folder.writeFile(QFileInfo(converterPath(folder.folder())).fileName(), "#!/bin/sh\n");
    QFile(converterPath(folder.folder()))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto present = runSupportCommand(convert, context);
    QCOMPARE(present->programToStart, converterPath(folder.folder()));
}

QTEST_GUILESS_MAIN(SupportCommandsTest)
#include "tst_support_commands.moc"
