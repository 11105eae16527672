#include "core/ErrorReporter.h"
#include "core/windows/HalcyraApplication.h"
#include "support/ScriptedPrompts.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

// Needs the program's own application object, so it has its own main() below.
class HalcyraApplicationTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void timerSlotErrorIsReportedUnderItsLabel();
    void scopedSlotErrorNamesTheSlot();
    void postedCallErrorIsReported();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<ErrorReporter> m_reporter;
};

void HalcyraApplicationTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_reporter = std::make_unique<ErrorReporter>(m_dir->path(), *m_prompts);
    auto* app = dynamic_cast<HalcyraApplication*>(QCoreApplication::instance());
    QVERIFY(app);
    app->setErrorReporter(m_reporter.get());
}

void HalcyraApplicationTest::cleanup()
{
    if (auto* app = dynamic_cast<HalcyraApplication*>(QCoreApplication::instance()))
        app->setErrorReporter(nullptr);
}

void HalcyraApplicationTest::timerSlotErrorIsReportedUnderItsLabel()
{
    QObject context;
    bool laterTimerRan = false;
    QTimer::singleShot(0, &context, [this] {
        m_reporter->setCurrentProcedureLabel(u"frmMain:Sub Timer1_Timer()"_s);
        throw ProgramError(11, u"Division by zero"_s);
    });
    QTimer::singleShot(20, &context, [&] { laterTimerRan = true; });

    // The event loop goes on after the failing slot.
    QTRY_VERIFY(laterTimerRan);
    QCOMPARE(m_prompts->shown().size(), 1);
    QCOMPARE(m_prompts->shown().first().title, u"Error Handler"_s);
    QCOMPARE(m_prompts->shown().first().text,
             u"erNum = 11\nerDesc = Division by zero\nfrmMain:Sub Timer1_Timer()"_s);
    QVERIFY(QFile::exists(m_reporter->logPath()));
}

void HalcyraApplicationTest::scopedSlotErrorNamesTheSlot()
{
    m_reporter->setCurrentProcedureLabel(u"frmMain:Sub Form_Load()"_s);
    QObject context;
    QTimer::singleShot(0, &context, [this] {
        ProcedureScope scope(*m_reporter, u"frmMain:Sub cmdPrint_Click()"_s);
        throw std::runtime_error("printer went away");
    });
    QTRY_COMPARE(m_prompts->shown().size(), 1);
    QCOMPARE(m_prompts->shown().first().text,
             u"erNum = 440\nerDesc = printer went away\nfrmMain:Sub cmdPrint_Click()"_s);
    QCOMPARE(m_reporter->CurrentProcedureLabel(), u"frmMain:Sub Form_Load()"_s);
}

void HalcyraApplicationTest::postedCallErrorIsReported()
{
    QObject context;
    int calls = 0;
    QMetaObject::invokeMethod(
        &context,
        [&] {
            ++calls;
            m_reporter->setCurrentProcedureLabel(u"frmTip:Sub cmdNextTip_Click()"_s);
            throw ProgramError(9, u"Subscript out of range"_s);
        },
        Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &context, [&] { ++calls; }, Qt::QueuedConnection);
    QTRY_COMPARE(calls, 2);
    QCOMPARE(m_prompts->shown().size(), 1);
    QVERIFY(m_prompts->shown().first().text.startsWith(u"erNum = 9\n"_s));
    QVERIFY(m_prompts->shown().first().text.endsWith(u"\nfrmTip:Sub cmdNextTip_Click()"_s));
}

int main(int argc, char** argv)
{
    HalcyraApplication app(argc, argv);
    HalcyraApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_halcyra_application.moc"
