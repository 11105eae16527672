#include "support/MainWindowHarness.h"

#include "core/Catalogue.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <stdexcept>

namespace halcyra::test {
namespace {

// Runs `work` on a connection of its own that is closed again afterwards.
template <typename Work> auto withConnection(const QString& path, Work work)
{
    static int counter = 0;
    const QString name = QStringLiteral("harness.%1").arg(++counter);
    if (const Status opened = openDatabase(path, name); !opened)
        throw std::runtime_error(opened.error().toStdString());
    struct Remove
    {
        QString name;
        ~Remove() { QSqlDatabase::removeDatabase(name); }
    } remove{name};
    return work(QSqlDatabase::database(name));
}

} // namespace

MainWindowHarness::MainWindowHarness()
    : settings(folder.settingsFolder()), reporter(folder.folder(), prompts)
{
    folder.createDatabase();
    state.DatabaseFolder = folder.folder();
    state.DatabaseFullPath = folder.path(ProgramState::DatabaseFileName());
}

MainWindowHarness::~MainWindowHarness() = default;

qint64 MainWindowHarness::addClient(const QMap<int, QVariant>& values)
{
    return withConnection(state.DatabaseFullPath, [&](QSqlDatabase db) {
        ClientDataSource source(db);
        if (const Status opened = source.open(); !opened)
            throw std::runtime_error(opened.error().toStdString());
        source.addNew();
        ClientRecord record = source.current();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            record.values[static_cast<size_t>(it.key())] = it.value();
        if (const Status stored = source.update(record); !stored)
            throw std::runtime_error(stored.error().toStdString());
        return source.current().customerId();
    });
}

qint64 MainWindowHarness::addClient(const QString& lastName, const QString& firstName)
{
    return addClient({{columns::detail(1), lastName}, {columns::detail(2), firstName}});
}

frmMain& MainWindowHarness::open()
{
    return open(Catalogue::builtIn());
}

frmMain& MainWindowHarness::open(const Catalogue& catalogue)
{
    m_catalogue = std::make_unique<Catalogue>(catalogue);
    m_window = std::make_unique<frmMain>(*m_catalogue, settings, state, reporter,
                                         [this](const QString& title, const QString& text) {
                                             messages.append({title, text});
                                             if (cancelMessages)
                                                 state.OptionsCancelled = true;
                                         });
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        throw std::runtime_error("the main window did not become active");
    m_window->putCursorInLastName();
    settle();
    return *m_window;
}

QVariant MainWindowHarness::stored(qint64 customerId, int column) const
{
    return withConnection(state.DatabaseFullPath, [&](QSqlDatabase db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT \"%1\" FROM \"Customers\" WHERE \"CustomerID\" = ?")
                          .arg(columns::name(column)));
        query.addBindValue(customerId);
        if (!query.exec() || !query.next())
            throw std::runtime_error("the client is not stored");
        return query.value(0);
    });
}

int MainWindowHarness::storedCount() const
{
    return withConnection(state.DatabaseFullPath, [&](QSqlDatabase db) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM \"Customers\"")) || !query.next())
            throw std::runtime_error("the clients cannot be counted");
        return query.value(0).toInt();
    });
}

void MainWindowHarness::execute(const QString& sql) const
{
    withConnection(state.DatabaseFullPath, [&](QSqlDatabase db) {
        QSqlQuery query(db);
        if (!query.exec(sql))
            throw std::runtime_error(query.lastError().text().toStdString());
        return 0;
    });
}

void MainWindowHarness::settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void MainWindowHarness::focus(QWidget* box)
{
    box->setFocus(Qt::MouseFocusReason);
    settle();
}

void MainWindowHarness::type(QWidget* box, const QString& text)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    settle();
}

void MainWindowHarness::pressTab()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    settle();
}

} // namespace halcyra::test
