#include "core/ErrorReporter.h"
#include "core/Version.h"
#include "support/ScriptedPrompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <stdexcept>
#include <unistd.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

QStringList logLines(const ErrorReporter& reporter)
{
    QFile log(reporter.logPath());
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString text = QString::fromUtf8(log.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

// Prompts that report another error while the first report's box is up, as an event handler
// failing under a modal box would.
class ReportingPrompts final : public UserPrompts
{
public:
    ErrorReporter* reporter = nullptr;
    int informs = 0;
    void inform(const QString&, const QString&, Icon) override
    {
        ++informs;
        reporter->ReportError(u"11"_s, u"Division by zero"_s, u"frmMain:Sub Timer1_Timer()"_s);
    }
    Answer ask(const QString&, const QString&, Buttons, Icon, Answer) override
    {
        return Answer::Cancel;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    void setBusy(bool) override {}
};

} // namespace

class ErrorReporterTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void logHasFiveLines();
    void locationMaySpanLines();
    void reportsAreAppended();
    void boxShowsTheReportWithStyleIcon_data();
    void boxShowsTheReportWithStyleIcon();
    void showMessageFalseShowsNothing();
    void unwritableLogStillShowsTheBox();
    void readOnlyLogFolderStillShowsTheBox();
    void failingBoxDoesNotEscape();
    void reportDuringReportIsLoggedNotShown();
    void trapReportsProgramErrors();
    void trapReportsOtherExceptionsAs440();
    void trapReturnsTrueWhenNothingFails();
    void procedureScopeRestoresThePreviousLabel();
    void failingNestedProcedureIsTheReportedOne();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<ErrorReporter> m_reporter;
};

void ErrorReporterTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_reporter = std::make_unique<ErrorReporter>(m_dir->path(), *m_prompts);
}

void ErrorReporterTest::logHasFiveLines()
{
    m_reporter->ReportError(u"53"_s, u"File not found"_s, u"Module1:Sub Main()"_s);

    QCOMPARE(m_reporter->logPath(), QDir(m_dir->path()).filePath(u"ErrHCY.log"_s));
    const QStringList lines = logLines(*m_reporter);
    QCOMPARE(lines.size(), 5);
    QVERIFY2(lines[0].endsWith(u" 6.3.18"_s), qPrintable(lines[0]));
    // The rest of line 1 is the date and time in the system's format.
    const QString stamp = lines[0].chopped(QStringLiteral(" 6.3.18").size());
    const QLocale locale = QLocale::system();
    const QDateTime when = locale.toDateTime(stamp, locale.dateFormat(QLocale::ShortFormat) + u' ' +
                                                        locale.timeFormat(QLocale::LongFormat));
    QVERIFY2(when.isValid(), qPrintable(stamp));
    // The short date may drop the century: compare the time of day only.
    const int secondsAway = qAbs(when.time().secsTo(QTime::currentTime()));
    QVERIFY2(secondsAway < 120 || secondsAway > 86400 - 120, qPrintable(stamp));
    QCOMPARE(lines[1], QString());
    QCOMPARE(lines[2], u"erNum = 53"_s);
    QCOMPARE(lines[3], u"erDesc = File not found"_s);
    QCOMPARE(lines[4], u"Module1:Sub Main()"_s);
    QCOMPARE(m_reporter->MessageText(),
             u"erNum = 53\nerDesc = File not found\nModule1:Sub Main()"_s);
}

void ErrorReporterTest::locationMaySpanLines()
{
    m_reporter->ReportError(
        u"53"_s, u"File not found"_s,
        u"Module1:Sub Main()\nContinuous Loop\n\nThis program will terminate."_s);
    const QStringList lines = logLines(*m_reporter);
    QCOMPARE(lines.mid(4), QStringList({u"Module1:Sub Main()"_s, u"Continuous Loop"_s, QString(),
                                        u"This program will terminate."_s}));
}

void ErrorReporterTest::reportsAreAppended()
{
    QFile existing(m_reporter->logPath());
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("earlier line\n");
    existing.close();

    m_reporter->ReportError(u"5"_s, u"first"_s, u"frmMain:Sub A()"_s);
    m_reporter->ReportError(u"6"_s, u"second"_s, u"frmMain:Sub B()"_s);
    const QStringList lines = logLines(*m_reporter);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines[0], u"earlier line"_s);
    QCOMPARE(lines[3], u"erNum = 5"_s);
    QCOMPARE(lines[5], u"frmMain:Sub A()"_s);
    QVERIFY(lines[6].endsWith(u" 6.3.18"_s));
    QCOMPARE(lines[8], u"erNum = 6"_s);
    QCOMPARE(lines[10], u"frmMain:Sub B()"_s);
}

void ErrorReporterTest::boxShowsTheReportWithStyleIcon_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<UserPrompts::Icon>("icon");
    QTest::newRow("0: OK only") << 0 << UserPrompts::Icon::None;
    QTest::newRow("16: critical") << 16 << UserPrompts::Icon::Critical;
}

void ErrorReporterTest::boxShowsTheReportWithStyleIcon()
{
    QFETCH(int, style);
    QFETCH(UserPrompts::Icon, icon);
    m_reporter->ReportError(u"75"_s, u"Path/File access error"_s, u"frmOptions:Sub cmdOK_Click()"_s,
                            style, u"HCY.hlp"_s, 0, true);
    QCOMPARE(m_prompts->shown().size(), 1);
    const ScriptedPrompts::Shown& box = m_prompts->shown().first();
    QCOMPARE(box.title, u"Error Handler"_s);
    QCOMPARE(box.text,
             u"erNum = 75\nerDesc = Path/File access error\nfrmOptions:Sub cmdOK_Click()"_s);
    QCOMPARE(box.icon, icon);
}

void ErrorReporterTest::showMessageFalseShowsNothing()
{
    m_reporter->ReportError(u"5"_s, u"quiet"_s, u"here"_s, 16, {}, 0, false);
    QVERIFY(m_prompts->shown().isEmpty());
    QCOMPARE(logLines(*m_reporter).size(), 5);
}

void ErrorReporterTest::unwritableLogStillShowsTheBox()
{
    // A folder where the log file should be: no user, root included, can append to it.
    QVERIFY(QDir(m_dir->path()).mkdir(u"ErrHCY.log"_s));
    m_reporter->ReportError(u"5"_s, u"Invalid procedure call"_s, u"frmMain:Sub X()"_s, 16);

    QCOMPARE(m_prompts->shown().size(), 1);
    const QString text = m_prompts->shown().first().text;
    QVERIFY(text.startsWith(u"erNum = 5\nerDesc = Invalid procedure call\nfrmMain:Sub X()"_s));
    QVERIFY2(text.contains(u"could not be"_s), qPrintable(text));
    QCOMPARE(m_prompts->shown().first().icon, UserPrompts::Icon::Critical);

    // The reporter is not stuck: the next report shows as well.
    m_reporter->ReportError(u"6"_s, u"again"_s, u"here"_s);
    QCOMPARE(m_prompts->shown().size(), 2);
}

void ErrorReporterTest::readOnlyLogFolderStillShowsTheBox()
{
    const QString folder = m_dir->filePath(u"locked"_s);
    QVERIFY(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                      QFileDevice::ReadOther | QFileDevice::ExeOther);
    auto unlock = qScopeGuard([&] {
        QFile::setPermissions(folder, QFileDevice::WriteOwner | QFileDevice::ReadOwner |
                                          QFileDevice::ExeOwner);
    });
    if (::access(folder.toLocal8Bit().constData(), W_OK) == 0)
        QSKIP("This user can write into a read-only folder (root); the log-folder check above "
              "covers the unwritable log.");

    m_reporter->setLogFolder(folder);
    m_reporter->ReportError(u"5"_s, u"Invalid procedure call"_s, u"frmMain:Sub X()"_s);
    QCOMPARE(m_prompts->shown().size(), 1);
    QVERIFY(m_prompts->shown().first().text.contains(u"could not be"_s));
    QVERIFY(!QFile::exists(m_reporter->logPath()));
}

void ErrorReporterTest::failingBoxDoesNotEscape()
{
    m_prompts->failNextInform();
    m_reporter->ReportError(u"5"_s, u"first"_s, u"here"_s);
    QCOMPARE(m_prompts->shown().size(), 1);
    QCOMPARE(logLines(*m_reporter).size(), 5);

    // A trap whose report cannot be shown still returns, and later reports still show.
    m_prompts->failNextInform();
    QVERIFY(!m_reporter->trap(u"frmMain:Sub Y()"_s, [] { throw std::runtime_error("boom"); }));
    m_reporter->ReportError(u"6"_s, u"later"_s, u"here"_s);
    QCOMPARE(m_prompts->shown().size(), 3);
    QCOMPARE(logLines(*m_reporter).size(), 15);
}

void ErrorReporterTest::reportDuringReportIsLoggedNotShown()
{
    ReportingPrompts prompts;
    ErrorReporter reporter(m_dir->path(), prompts);
    prompts.reporter = &reporter;

    reporter.ReportError(u"5"_s, u"first"_s, u"frmMain:Sub A()"_s);
    QCOMPARE(prompts.informs, 1);
    const QStringList lines = logLines(reporter);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[2], u"erNum = 5"_s);
    QCOMPARE(lines[7], u"erNum = 11"_s);
    QCOMPARE(lines[9], u"frmMain:Sub Timer1_Timer()"_s);
}

void ErrorReporterTest::trapReportsProgramErrors()
{
    m_reporter->setCurrentProcedureLabel(u"frmMain:Sub Form_Load()"_s);
    const bool carriedOn = m_reporter->trap(u"frmMain:Sub cmdSave_Click()"_s, [] {
        throw ProgramError(errors::kPathFileAccess, u"Path/File access error"_s);
    });
    QVERIFY(!carriedOn);
    QCOMPARE(m_prompts->shown().size(), 1);
    QCOMPARE(m_prompts->shown().first().title, u"Error Handler"_s);
    QCOMPARE(m_prompts->shown().first().text,
             u"erNum = 75\nerDesc = Path/File access error\nfrmMain:Sub cmdSave_Click()"_s);
    QCOMPARE(m_prompts->shown().first().icon, UserPrompts::Icon::None);
    QCOMPARE(m_reporter->CurrentProcedureLabel(), u"frmMain:Sub Form_Load()"_s);
    QCOMPARE(logLines(*m_reporter).value(4), u"frmMain:Sub cmdSave_Click()"_s);
}

void ErrorReporterTest::trapReportsOtherExceptionsAs440()
{
    QVERIFY(!m_reporter->trap(u"frmTip:Sub Form_Load()"_s,
                              [] { throw std::runtime_error("disk on fire"); }));
    QVERIFY(!m_reporter->trap(u"frmTip:Sub cmdNextTip_Click()"_s, [] { throw 42; }));
    QCOMPARE(m_prompts->shown().size(), 2);
    QCOMPARE(m_prompts->shown()[0].text,
             u"erNum = 440\nerDesc = disk on fire\nfrmTip:Sub Form_Load()"_s);
    QVERIFY(m_prompts->shown()[1].text.startsWith(u"erNum = 440\n"_s));
    QVERIFY(m_prompts->shown()[1].text.endsWith(u"\nfrmTip:Sub cmdNextTip_Click()"_s));
}

void ErrorReporterTest::trapReturnsTrueWhenNothingFails()
{
    QString labelInside;
    QVERIFY(m_reporter->trap(u"frmMain:Sub Ok()"_s,
                             [&] { labelInside = m_reporter->CurrentProcedureLabel(); }));
    QCOMPARE(labelInside, u"frmMain:Sub Ok()"_s);
    QVERIFY(m_prompts->shown().isEmpty());
    QVERIFY(!QFile::exists(m_reporter->logPath()));
}

void ErrorReporterTest::procedureScopeRestoresThePreviousLabel()
{
    m_reporter->setCurrentProcedureLabel(u"outer"_s);
    {
        ProcedureScope first(*m_reporter, u"frmMain:Sub Form_Load()"_s);
        QCOMPARE(m_reporter->CurrentProcedureLabel(), u"frmMain:Sub Form_Load()"_s);
        {
            ProcedureScope second(*m_reporter, u"Module1:Function Helper()"_s);
            QCOMPARE(m_reporter->CurrentProcedureLabel(), u"Module1:Function Helper()"_s);
        }
        QCOMPARE(m_reporter->CurrentProcedureLabel(), u"frmMain:Sub Form_Load()"_s);
    }
    QCOMPARE(m_reporter->CurrentProcedureLabel(), u"outer"_s);

    // An error the caller handles itself still gives the label back.
    try {
        ProcedureScope scope(*m_reporter, u"frmMain:Sub Throws()"_s);
        throw std::runtime_error("handled");
    } catch (const std::exception&) {
    }
    QCOMPARE(m_reporter->CurrentProcedureLabel(), u"outer"_s);
}

void ErrorReporterTest::failingNestedProcedureIsTheReportedOne()
{
    // The report names the procedure that failed, not the one whose trap caught it.
    QVERIFY(!m_reporter->trap(u"frmMain:Sub cmdPrint_Click()"_s, [&] {
        ProcedureScope scope(*m_reporter, u"Module1:Sub PrintDocument()"_s);
        throw ProgramError(482, u"Printer error"_s);
    }));
    QCOMPARE(m_prompts->shown().size(), 1);
    QVERIFY(m_prompts->shown().first().text.endsWith(u"\nModule1:Sub PrintDocument()"_s));
    QCOMPARE(m_reporter->CurrentProcedureLabel(), QString());

    // A nested failure that its caller handled is not blamed for a later error once another
    // procedure has run.
    QVERIFY(!m_reporter->trap(u"frmMain:Sub cmdView_Click()"_s, [&] {
        try {
            ProcedureScope scope(*m_reporter, u"Module1:Function OpenReader()"_s);
            throw ProgramError(53, u"File not found"_s);
        } catch (const ProgramError&) {
        }
        {
            ProcedureScope scope(*m_reporter, u"Module1:Sub QueueFileForReader()"_s);
        }
        throw ProgramError(5, u"Invalid procedure call"_s);
    }));
    QCOMPARE(m_prompts->shown().size(), 2);
    QVERIFY(m_prompts->shown().last().text.endsWith(u"\nfrmMain:Sub cmdView_Click()"_s));
}

QTEST_GUILESS_MAIN(ErrorReporterTest)
#include "tst_error_reporter.moc"
