// Runs the real halcyra-cli.

#include "support/TempProgramFolder.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using halcyra::test::TempProgramFolder;

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runCli(const QStringList& arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(HALCYRA_CLI_PATH), arguments);
    Result result;
    if (!cli.waitForFinished(30000))
        return result;
    result.exitCode = cli.exitCode();
    result.out = QString::fromUtf8(cli.readAllStandardOutput());
    result.err = QString::fromUtf8(cli.readAllStandardError());
    return result;
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class Cli : public QObject
{
    Q_OBJECT

private slots:
    void helpListsTheCommands()
    {
        const Result result = runCli({QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains(QStringLiteral("catalogue")));
        QVERIFY(result.out.contains(QStringLiteral("init")));
        // Every command's name stands apart from its summary, the longest too.
        QVERIFY2(result.out.contains(QStringLiteral("  questionnaire  Write")),
                 qPrintable(result.out));

        const Result bare = runCli({});
        QCOMPARE(bare.exitCode, 2);
        const Result unknown = runCli({QStringLiteral("frobnicate")});
        QCOMPARE(unknown.exitCode, 2);
        QVERIFY(unknown.err.contains(QStringLiteral("unknown command")));
    }

    void catalogueEntryById()
    {
        const Result one = runCli({QStringLiteral("catalogue"), QStringLiteral("1312")});
        QCOMPARE(one.exitCode, 0);
        QCOMPARE(one.out, QStringLiteral("Halcyra - Supplement Guide\n"));

        const Result missing = runCli({QStringLiteral("catalogue"), QStringLiteral("99")});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.out.isEmpty());
        QVERIFY(missing.err.contains(QStringLiteral("no entry 99")));

        const Result notNumber = runCli({QStringLiteral("catalogue"), QStringLiteral("x1")});
        QCOMPARE(notNumber.exitCode, 2);
    }

    void wholeCatalogueInIdOrder()
    {
        const Result all = runCli({QStringLiteral("catalogue")});
        QCOMPARE(all.exitCode, 0);
        const QStringList lines = all.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 4);
        int previous = -1;
        for (const QString& line : lines) {
            const qsizetype tab = line.indexOf(u'\t');
            QVERIFY2(tab > 0, qPrintable(line));
            const int id = line.left(tab).toInt();
            QVERIFY2(id > previous, qPrintable(line));
            previous = id;
        }
        QVERIFY(lines.contains(QStringLiteral("1313\tHalcyra")));
    }

    void initCreatesOnceAndNeverTouchesAnExistingDatabase()
    {
        TempProgramFolder folder;
        const QString db = folder.path(QStringLiteral("HCY300.db"));
        const Result first =
            runCli({QStringLiteral("init"), QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(first.exitCode, 0);
        QVERIFY(QFile::exists(db));

        const QByteArray before = fileHash(db);
        const Result second =
            runCli({QStringLiteral("init"), QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(second.exitCode, 0);
        QVERIFY(second.out.contains(QStringLiteral("Kept")));
        QCOMPARE(fileHash(db), before);

        const Result badOption = runCli({QStringLiteral("init"), QStringLiteral("--frob")});
        QCOMPARE(badOption.exitCode, 2);
    }

    void demoFillsOnceAndProfileReadsASavedClient()
    {
        TempProgramFolder folder;
        const Result demo =
            runCli({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("3"),
                    QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(demo.exitCode, 0);
        const Result again =
            runCli({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("3"),
                    QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.contains(QStringLiteral("--add")));
        QCOMPARE(runCli({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("x")})
                     .exitCode,
                 2);

        // The saved record evaluates exactly as its boxes typed on the command line.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(folder.path(QStringLiteral("HCY300.db")));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT * FROM \"Customers Query\" "
                                          "WHERE \"CustomerID\" = 2")) &&
                query.next());
        QStringList scores;
        for (int n = 1; n <= 41; ++n)
            scores << query.value(QStringLiteral("Field%1").arg(n)).toString();
        QStringList yesNo;
        for (int i = 0; i < 5; ++i)
            yesNo << query.value(QStringLiteral("ckYesNo( %1)").arg(i)).toString();
        const QStringList typed = {QStringLiteral("profile"),
                                   QStringLiteral("--json"),
                                   QStringLiteral("--scores"),
                                   scores.join(u','),
                                   QStringLiteral("--yes-no"),
                                   yesNo.join(u','),
                                   QStringLiteral("--age"),
                                   query.value(QStringLiteral("Age")).toString(),
                                   QStringLiteral("--sex"),
                                   query.value(QStringLiteral("Sex")).toString(),
                                   QStringLiteral("--total-cholesterol"),
                                   query.value(QStringLiteral("TotalCholesterol")).toString(),
                                   QStringLiteral("--hdl"),
                                   query.value(QStringLiteral("HDL")).toString()};
        db.close();

        const Result fromRecord =
            runCli({QStringLiteral("profile"), QStringLiteral("--json"), QStringLiteral("--client"),
                    QStringLiteral("2"), QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(fromRecord.exitCode, 0);
        const Result fromBoxes = runCli(typed);
        QCOMPARE(fromBoxes.exitCode, 0);
        QCOMPARE(fromRecord.out, fromBoxes.out);

        const Result unknown =
            runCli({QStringLiteral("profile"), QStringLiteral("--client"), QStringLiteral("99"),
                    QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(unknown.exitCode, 1);
        QVERIFY(unknown.err.contains(QStringLiteral("99")));

        // The list of the three clients, newest first, as JSON.
        const Result list = runCli({QStringLiteral("list"), QStringLiteral("--sort"),
                                    QStringLiteral("CustomerID desc"), QStringLiteral("--json"),
                                    QStringLiteral("--folder"), folder.folder()});
        QCOMPARE(list.exitCode, 0);
        const QJsonArray rows = QJsonDocument::fromJson(list.out.toUtf8()).array();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.first()[QStringLiteral("number")].toInt(), 3);
        QVERIFY(!rows.first()[QStringLiteral("lastName")].toString().isEmpty());
    }

    void pagesPrintsTheOnScreenReportAndLeavesTheDatabase()
    {
        TempProgramFolder folder;
        const QString dir = folder.folder();
        QCOMPARE(runCli({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("2"),
                         QStringLiteral("--folder"), dir})
                     .exitCode,
                 0);
        const QByteArray before = fileHash(folder.path(QStringLiteral("HCY300.db")));
        const Result all = runCli({QStringLiteral("pages"), QStringLiteral("--client"),
                                   QStringLiteral("2"), QStringLiteral("--folder"), dir});
        QCOMPARE(all.exitCode, 0);
        for (const char* caption :
             {"[Cover Page]", "[Summary]", "[Analysis]", "[Supplement Guide]", "[References]"})
            QVERIFY2(all.out.contains(QString::fromLatin1(caption)), caption);
        QVERIFY(all.out.endsWith(QStringLiteral("[References]\nSee PDF file.\n")));
        // The cover's date is today's, in the program's one form.
        const QDate today = QDate::currentDate();
        QVERIFY2(all.out.contains(QStringLiteral("Date: %1/%2/%3\n")
                                      .arg(today.month())
                                      .arg(today.day())
                                      .arg(today.year())) ||
                     all.out.contains(QStringLiteral("Date: %1/%2/%3\n")
                                          .arg(today.addDays(-1).month())
                                          .arg(today.addDays(-1).day())
                                          .arg(today.addDays(-1).year())),
                 qPrintable(all.out.left(600)));

        // Every supplement-guide item ends in its flyer group.
        const Result guide = runCli({QStringLiteral("pages"), QStringLiteral("--client"),
                                     QStringLiteral("2"), QStringLiteral("--page"),
                                     QStringLiteral("4"), QStringLiteral("--folder"), dir});
        QCOMPARE(guide.exitCode, 0);
        const QStringList items = guide.out.split(u'\n').mid(1);
        QVERIFY(items.size() > 10);
        for (const QString& item : items)
            QVERIFY2(item.isEmpty() || item.right(4).toInt() >= 8801, qPrintable(item));

        QCOMPARE(
            runCli({QStringLiteral("pages"), QStringLiteral("--client"), QStringLiteral("2"),
                    QStringLiteral("--page"), QStringLiteral("6"), QStringLiteral("--folder"), dir})
                .exitCode,
            2);
        QCOMPARE(runCli({QStringLiteral("pages"), QStringLiteral("--client"), QStringLiteral("99"),
                         QStringLiteral("--folder"), dir})
                     .exitCode,
                 1);
        QCOMPARE(fileHash(folder.path(QStringLiteral("HCY300.db"))), before);
    }

    // A name an older file holds with a terminal's escape codes and a line break is printed
    // with them as visible escapes: the terminal's title and screen stay as they are.
    void namesWithControlCharactersPrintVisibly()
    {
        TempProgramFolder folder;
        const QString dir = folder.folder();
        QCOMPARE(runCli({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("1"),
                         QStringLiteral("--folder"), dir})
                     .exitCode,
                 0);
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(folder.path(QStringLiteral("HCY300.db")));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("UPDATE Customers SET LastName = 'Ro' || "
                                              "char(27) || ']0;owned' || char(7) || 'we' || "
                                              "char(10) || char(27) || '[2J', FirstName = "
                                              "'Ada' || char(8238) || 'x'")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        for (const QStringList& command :
             {QStringList{QStringLiteral("list")},
              QStringList{QStringLiteral("pages"), QStringLiteral("--client"), QStringLiteral("1"),
                          QStringLiteral("--page"), QStringLiteral("1")}}) {
            const Result run = runCli(command + QStringList{QStringLiteral("--folder"), dir});
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(!run.out.contains(QChar(0x1B)) && !run.out.contains(QChar(0x07)) &&
                         !run.out.contains(QChar(0x202E)),
                     qPrintable(command.first()));
            QVERIFY2(run.out.contains(QStringLiteral("Ro\\x1b]0;owned\\x07we")),
                     qPrintable(run.out));
            QVERIFY2(run.out.contains(QStringLiteral("Ada\\u202ex")), qPrintable(run.out));
        }
    }

    void exportImportAndHistory()
    {
        halcyra::test::TempProgramFolder a;
        halcyra::test::TempProgramFolder b;
        QCOMPARE(runCli({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("3"),
                         QStringLiteral("--folder"), a.folder()})
                     .exitCode,
                 0);
        QCOMPARE(runCli({QStringLiteral("init"), QStringLiteral("--folder"), b.folder()}).exitCode,
                 0);

        // Exporting only reads: the database stays byte for byte as it was.
        const QByteArray before = fileHash(a.path(QStringLiteral("HCY300.db")));
        const QString csv = a.path(QStringLiteral("all.csv"));
        const Result exported =
            runCli({QStringLiteral("export"), QStringLiteral("--out"), csv,
                    QStringLiteral("--history"), QStringLiteral("--folder"), a.folder()});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(exported.out.contains(QStringLiteral("Wrote 3 clients and 0 earlier")));
        QCOMPARE(fileHash(a.path(QStringLiteral("HCY300.db"))), before);

        // A client with an earlier visit, from a file, then its progress.
        a.writeFile(QStringLiteral("visits.csv"),
                    "Assessment,Last Name,Sex,Date,Field  5\n"
                    "current,Rowe,F,9/1/2026,1\nearlier,Rowe,F,3/1/2026,5\n");
        const Result imported =
            runCli({QStringLiteral("import"), a.path(QStringLiteral("visits.csv")),
                    QStringLiteral("--folder"), b.folder()});
        QCOMPARE(imported.exitCode, 0);
        QVERIFY2(imported.out.contains(QStringLiteral("Added 1 client and 1 earlier assessment.")),
                 qPrintable(imported.out + imported.err));
        const Result history =
            runCli({QStringLiteral("history"), QStringLiteral("--client"), QStringLiteral("1"),
                    QStringLiteral("--json"), QStringLiteral("--folder"), b.folder()});
        QCOMPARE(history.exitCode, 0);
        const QJsonObject progress = QJsonDocument::fromJson(history.out.toUtf8()).object();
        QCOMPARE(progress[QStringLiteral("earlierDate")].toString(), QStringLiteral("3/1/2026"));
        const QJsonObject iron = progress[QStringLiteral("sections")].toArray()[4].toObject();
        QCOMPARE(iron[QStringLiteral("change")].toInt(), -4);
        QCOMPARE(iron[QStringLiteral("note")].toString(),
                 QStringLiteral("No longer marked Very High"));

        // A refused row: exit status 1, the reason on standard error, nothing added.
        const Result refused = runCli({QStringLiteral("import"), csv, QStringLiteral("--folder"),
                                       b.folder(), QStringLiteral("--dry-run")});
        QCOMPARE(refused.exitCode, 0);
        QVERIFY(refused.out.contains(QStringLiteral("3 clients would be added")));
        a.writeFile(QStringLiteral("bad.csv"), "Last Name,Sex\nLee,x\n");
        const Result bad = runCli({QStringLiteral("import"), a.path(QStringLiteral("bad.csv")),
                                   QStringLiteral("--folder"), b.folder()});
        QCOMPARE(bad.exitCode, 1);
        QVERIFY(bad.err.contains(QStringLiteral("Row 2, Sex \"x\"")));
    }

    // A spreadsheet's plain CSV from Windows comes in whole, found or named; the summary says
    // how it was read, and a name without an extension is written as a .csv file.
    void importsAFileInItsEncodingAndExportsACsv()
    {
        TempProgramFolder folder;
        const QString dir = folder.folder();
        QCOMPARE(runCli({QStringLiteral("init"), QStringLiteral("--folder"), dir}).exitCode, 0);
        folder.writeFile(QStringLiteral("windows.csv"),
                         "Last Name,First Name,Date\r\nM\xFCller,Ren\xE9"
                         "e,2026-04-01\r\nO\x92Neil,Sin\xE9"
                         "ad,\r\n");
        const QString windowsCsv = folder.path(QStringLiteral("windows.csv"));

        const Result latin1 =
            runCli({QStringLiteral("import"), windowsCsv, QStringLiteral("--encoding"),
                    QStringLiteral("latin-1"), QStringLiteral("--folder"), dir});
        QCOMPARE(latin1.exitCode, 1);
        QVERIFY2(latin1.err.contains(QStringLiteral("Row 3, Last Name \"O\\x92Neil\"")),
                 qPrintable(latin1.err));
        QVERIFY(latin1.out.contains(QStringLiteral("Read as Latin-1 (ISO 8859-1): 2 client rows, "
                                                   "1 refused value")));

        const Result bogus =
            runCli({QStringLiteral("import"), windowsCsv, QStringLiteral("--encoding"),
                    QStringLiteral("ebcdic"), QStringLiteral("--folder"), dir});
        QCOMPARE(bogus.exitCode, 2);
        QVERIFY(bogus.err.contains(QStringLiteral("--encoding takes auto, utf-8, utf-16, "
                                                  "windows-1252, latin-1.")));

        const Result found =
            runCli({QStringLiteral("import"), windowsCsv, QStringLiteral("--folder"), dir});
        QCOMPARE(found.exitCode, 0);
        QCOMPARE(found.err, QString());
        QCOMPARE(found.out,
                 QStringLiteral("Row 2, Date \"2026-04-01\": stored as \"4/1/2026\", the program's "
                                "form of a date (month/day/year).\n"
                                "Read as Windows-1252, since the file is not UTF-8: 2 client rows, "
                                "0 refused values, 1 value changed or filled in, 0 already "
                                "present. Added 2 clients and 0 earlier assessments.\n"));

        const Result exported =
            runCli({QStringLiteral("export"), QStringLiteral("--out"),
                    folder.path(QStringLiteral("clients")), QStringLiteral("--folder"), dir});
        QCOMPARE(exported.exitCode, 0);
        const QString written = folder.path(QStringLiteral("clients.csv"));
        QCOMPARE(exported.out, QStringLiteral("Wrote 2 clients to %1.\n").arg(written));
        QFile csv(written);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(csv.readAll());
        QVERIFY2(text.contains(QStringLiteral("Müller,Renée,")) &&
                     text.contains(QStringLiteral("O’Neil,Sinéad,")) &&
                     text.contains(QStringLiteral(",4/1/2026,")),
                 qPrintable(text.left(2000)));
    }
};

QTEST_GUILESS_MAIN(Cli)
#include "tst_cli.moc"
