#include "records/windows/frmDataGrid.h"

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/Version.h"
#include "core/windows/ApplyCatalogueCaptions.h"
#include "records/ClientCsvFormat.h"
#include "records/ClientDataSource.h"
#include "records/ClientForm.h"
#include "records/ClientTableModel.h"
#include "records/DetailRules.h"
#include "records/FilterExpression.h"
#include "records/MainWindowRules.h"
#include "records/ScoreRules.h"
#include "ui/windows/EnterPressesButton.h"
#include "ui/windows/KeepOnScreen.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmDataGrid:Sub ") + QString::fromLatin1(procedure) +
           QStringLiteral("()");
}

// The grid. Typing a letter outside a cell editor would search every row for a match, which
// reads the whole client table; with many thousands of clients Filter does that job. Enter on a
// row chooses it, as a double-click does; in a cell editor Enter stores the cell instead.
class ClientGrid : public QTableView
{
public:
    ClientGrid(QWidget* parent, std::function<void()> rowChosen)
        : QTableView(parent), m_rowChosen(std::move(rowChosen))
    {}
    void keyboardSearch(const QString&) override {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && state() != EditingState && currentIndex().isValid() &&
            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!event->isAutoRepeat())
                m_rowChosen();
            event->accept();
            return;
        }
        QTableView::keyPressEvent(event);
    }

private:
    std::function<void()> m_rowChosen;
};

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* result = new QPushButton(QString::fromLatin1(caption), parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    pressWithEnterWhenFocused(result);
    return result;
}

int columnWidth(int column, const QString& heading, const QFontMetrics& metrics)
{
    const int letter = metrics.horizontalAdvance(u'M');
    if (column >= columns::score(1))
        return metrics.horizontalAdvance(heading) + letter;
    switch (column) {
    case 1:
    case 2:
    case 4:
        return 10 * letter;
    case 3:
    case 17:
    case 18:
        return 14 * letter;
    case 7:
        return 9 * letter;
    default:
        return std::max(6 * letter, metrics.horizontalAdvance(heading) + letter);
    }
}

} // namespace

frmDataGrid::frmDataGrid(ClientDataSource& records, RecordsetType type, const Catalogue& catalogue,
                         ErrorReporter& reporter, MainWindowLink link, QWidget* parent)
    : QWidget(parent, Qt::Window), m_records(records), m_type(type), m_reporter(reporter),
      m_link(std::move(link))
{
    setObjectName(QStringLiteral("frmDataGrid"));
    m_model = new ClientTableModel(m_records, this);
    QStringList headings;
    for (int column = 0; column < columns::kCount; ++column)
        headings << clientcsv::columnLabel(catalogue, column).simplified();
    m_model->setHeadings(headings);
    m_model->editHandler = [this](int row, int column, const QVariant& value) {
        bool stored = false;
        m_reporter.trap(label("grdDataGrid_BeforeUpdate"),
                        [&] { stored = editCell(row, column, value); });
        return stored;
    };
    connect(m_model, &ClientTableModel::readFailed, this, &frmDataGrid::showError);

    grdDataGrid = new ClientGrid(this, [this] { grdDataGrid_DblClick(); });
    grdDataGrid->setObjectName(QStringLiteral("grdDataGrid"));
    grdDataGrid->setModel(m_model);
    grdDataGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdDataGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double-click closes the list, so editing starts from the keyboard or a second click.
    grdDataGrid->setEditTriggers(QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    grdDataGrid->setWordWrap(false);
    grdDataGrid->setAlternatingRowColors(true);
    QHeaderView* rows = grdDataGrid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 8);
    rows->hide();
    QHeaderView* header = grdDataGrid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    for (int column = 0; column < m_model->columnCount(); ++column)
        header->resizeSection(column, columnWidth(column, headings.at(column), fontMetrics()));

    picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    auto* buttonRow = new QHBoxLayout(picButtons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    cmdRefresh = button(picButtons, "cmdRefresh", "&Refresh");
    cmdSort = button(picButtons, "cmdSort", "&Sort");
    cmdFilter = button(picButtons, "cmdFilter", "&Filter");
    cmdClose = button(picButtons, "cmdClose", "&Close");
    for (QPushButton* each : {cmdRefresh, cmdSort, cmdFilter, cmdClose})
        buttonRow->addWidget(each);
    buttonRow->addStretch(1);

    // Form_Resize: the layout keeps the grid and the button bar fitted to the window.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(grdDataGrid, 1);
    layout->addWidget(picButtons);

    connect(cmdRefresh, &QPushButton::clicked, this, &frmDataGrid::cmdRefresh_Click);
    connect(cmdSort, &QPushButton::clicked, this, &frmDataGrid::cmdSort_Click);
    connect(cmdFilter, &QPushButton::clicked, this, &frmDataGrid::cmdFilter_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDataGrid::cmdClose_Click);
    connect(header, &QHeaderView::sectionClicked, this, &frmDataGrid::grdDataGrid_HeadClick);
    connect(grdDataGrid, &QTableView::doubleClicked, this, &frmDataGrid::grdDataGrid_DblClick);
    connect(grdDataGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    rowSelected(current.row());
            });
    auto* deleteKey = new QShortcut(QKeySequence::Delete, grdDataGrid);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &frmDataGrid::deleteCurrentRow);

    keepOnScreen(this, QSize(900, 480));
    Form_Load(catalogue);
}

frmDataGrid::~frmDataGrid() = default;

void frmDataGrid::Form_Load(const Catalogue& catalogue)
{
    m_reporter.trap(label("Form_Load"), [&] {
        ApplyCatalogueCaptions(*this, catalogue);
        setWindowTitle(dataGridCaption(QStringLiteral("Customers Query")));
        selectCurrentRecord();
    });
}

void frmDataGrid::followRecordSet()
{
    m_model->reload();
    selectCurrentRecord();
}

void frmDataGrid::showMovedRecordSet()
{
    // The main window shows its record and then has the list follow (followRecordSet), so the
    // grid is read again once.
    if (m_link.recordMoved)
        m_link.recordMoved();
    else
        followRecordSet();
}

void frmDataGrid::selectCurrentRecord()
{
    const int position = m_records.absolutePosition();
    if (position < 0 || position >= m_model->rowCount())
        return;
    m_selecting = true;
    const QModelIndex index =
        m_model->index(position, std::max(0, grdDataGrid->currentIndex().column()));
    grdDataGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    grdDataGrid->scrollTo(index);
    m_selecting = false;
}

void frmDataGrid::rowSelected(int row)
{
    if (m_selecting || row == m_records.absolutePosition())
        return;
    m_reporter.trap(label("grdDataGrid_RowColChange"), [&] {
        // What the main window shows is stored first; if it cannot be, the list stays put.
        if (m_link.leaveRecord && !m_link.leaveRecord()) {
            selectCurrentRecord();
            return;
        }
        if (const Status moved = m_records.moveTo(row); !moved)
            showError(moved.error());
        if (m_link.recordMoved)
            m_link.recordMoved();
        selectCurrentRecord();
    });
}

void frmDataGrid::showError(const QString& message)
{
    m_reporter.prompts().inform(AppTitle(), dataSourceErrorMessage(message),
                                UserPrompts::Icon::Information);
}

bool frmDataGrid::applyQuery(const QString& filterText, const QString& sortText)
{
    // Anything not understood is refused before the record set is touched.
    auto filter = parseFilter(filterText);
    if (!filter) {
        m_reporter.prompts().inform(AppTitle(), filter.error(), UserPrompts::Icon::Warning);
        return false;
    }
    auto order = parseSort(sortText);
    if (!order) {
        m_reporter.prompts().inform(AppTitle(), order.error(), UserPrompts::Icon::Warning);
        return false;
    }
    if (m_link.leaveRecord && !m_link.leaveRecord())
        return false;
    const BusyCursor busy(m_reporter.prompts());
    const Status status = m_records.setOrderAndFilter({std::move(*filter), std::move(*order)});
    if (!status) {
        showError(status.error());
        return false;
    }
    showMovedRecordSet();
    return true;
}

void frmDataGrid::cmdRefresh_Click()
{
    m_reporter.trap(label("cmdRefresh_Click"), [&] {
        // The record source again: every record, in the order last chosen.
        applyQuery(QString(), m_records.query().sort.text);
    });
}

void frmDataGrid::cmdFilter_Click()
{
    m_reporter.trap(label("cmdFilter_Click"), [&] {
        if (m_type == RecordsetType::Table) {
            m_reporter.prompts().inform(AppTitle(),
                                        QStringLiteral("You Cannot Filter a Table Recordset!"),
                                        UserPrompts::Icon::None);
            return;
        }
        const auto answer = m_reporter.prompts().askText(
            AppTitle(), QStringLiteral("Enter Filter Expression:"), QString());
        if (!answer || answer->trimmed().isEmpty())
            return;
        applyQuery(*answer, m_records.query().sort.text);
    });
}

void frmDataGrid::cmdSort_Click()
{
    m_reporter.trap(label("cmdSort_Click"), [&] {
        if (m_type == RecordsetType::Table) {
            m_reporter.prompts().inform(AppTitle(),
                                        QStringLiteral("You Cannot Sort a Table Recordset!"),
                                        UserPrompts::Icon::None);
            return;
        }
        const QString previous = SortColumn;
        if (SortColumn.isEmpty()) {
            const auto answer = m_reporter.prompts().askText(
                AppTitle(), QStringLiteral("Enter Sort Column:"), QString());
            if (!answer || answer->trimmed().isEmpty())
                return;
            SortColumn = *answer;
        }
        // A text that was refused is not kept, so the next Sort asks again.
        if (!applyQuery(m_records.query().filter.text, SortColumn)) {
            SortColumn = previous;
            return;
        }
        const auto keys = m_records.query().sort.keys;
        if (!keys.empty())
            grdDataGrid->horizontalHeader()->setSortIndicator(
                keys.front().column,
                keys.front().descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        grdDataGrid->horizontalHeader()->setSortIndicatorShown(!keys.empty());
    });
}

void frmDataGrid::grdDataGrid_HeadClick(int colIndex)
{
    m_reporter.trap(label("grdDataGrid_HeadClick"), [&] {
        if (m_type == RecordsetType::Table)
            return;
        // The heading is the label; the sort names the column.
        const QString field = columns::name(colIndex);
        SortColumn = colIndex == SortColumnIndex ? u'[' + field + QStringLiteral("] desc")
                                                 : u'[' + field + u']';
        SortColumnIndex = colIndex;
        cmdSort_Click();
    });
}

void frmDataGrid::cmdClose_Click()
{
    close();
}

void frmDataGrid::keyPressEvent(QKeyEvent* event)
{
    // A cell editor takes its own Escape back; anywhere else Escape closes the list.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdClose_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmDataGrid::grdDataGrid_DblClick()
{
    // The row under the pointer is already current, so the main window stays on it.
    cmdClose_Click();
}

bool frmDataGrid::grdDataGrid_BeforeDelete(int row)
{
    // As the main window's Delete: the client is named, and Enter keeps the record.
    const QString name =
        m_model->index(row, 2).data().toString() + u' ' + m_model->index(row, 1).data().toString();
    return m_reporter.prompts().ask(AppTitle(),
                                    QStringLiteral("Delete Current Row?\n\n") + name.trimmed(),
                                    UserPrompts::Buttons::YesNo, UserPrompts::Icon::Question,
                                    UserPrompts::Answer::No) == UserPrompts::Answer::Yes;
}

bool frmDataGrid::grdDataGrid_BeforeUpdate()
{
    return m_reporter.prompts().ask(AppTitle(), QStringLiteral("Commit changes?"),
                                    UserPrompts::Buttons::YesNo, UserPrompts::Icon::Question,
                                    UserPrompts::Answer::Yes) == UserPrompts::Answer::Yes;
}

void frmDataGrid::deleteCurrentRow()
{
    m_reporter.trap(label("grdDataGrid_BeforeDelete"), [&] {
        const int row = grdDataGrid->currentIndex().row();
        if (row < 0 || !grdDataGrid_BeforeDelete(row))
            return;
        if (m_link.leaveRecord && !m_link.leaveRecord())
            return;
        Status deleted;
        if (row != m_records.absolutePosition())
            deleted = m_records.moveTo(row);
        if (deleted)
            deleted = m_records.remove();
        if (!deleted)
            showError(deleted.error());
        showMovedRecordSet();
    });
}

bool frmDataGrid::editCell(int row, int column, const QVariant& value)
{
    if (m_link.leaveRecord && !m_link.leaveRecord())
        return false;
    if (row != m_records.absolutePosition()) {
        if (const Status moved = m_records.moveTo(row); !moved) {
            showError(moved.error());
            return false;
        }
        if (m_link.recordMoved)
            m_link.recordMoved();
    }
    // The same rules as leaving the box of this column in the main window.
    ClientForm form = formOf(m_records.current());
    if (column >= columns::yesNo(0)) {
        form.yesNo[static_cast<size_t>(column - columns::yesNo(0))] = value.toInt() != 0;
    } else if (column >= columns::score(1)) {
        const int box = column - columns::score(1) + 1;
        form.scores[static_cast<size_t>(box)] = scoreTextOnLeaving(value.toString());
        recomputeAutomaticScores(form.scores);
    } else {
        const DetailLeaveResult result =
            leaveDetailBox(column, value.toString(), QDate::currentDate());
        if (result.message && m_link.showMsg)
            m_link.showMsg(result.message->title, result.message->text);
        if (result.rejected)
            return false;
        form.details[static_cast<size_t>(column)] = result.text;
    }
    if (!isEdited(m_records.current(), form) || !grdDataGrid_BeforeUpdate())
        return false;
    if (const Status stored = m_records.update(editedRecord(m_records.current(), form)); !stored) {
        showError(stored.error());
        return false;
    }
    m_model->rowChanged(row);
    if (m_link.recordMoved)
        m_link.recordMoved();
    return true;
}

} // namespace halcyra
