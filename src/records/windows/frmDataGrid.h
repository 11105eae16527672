#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QPushButton;
class QTableView;

namespace halcyra {

class Catalogue;
class ClientDataSource;
class ClientTableModel;
class ErrorReporter;

// The record list: every client record of the main window's record set in a grid. Selecting a
// row moves the record set (and so the main window); a cell edit is an edit of that client
// with the main window's rules; Sort and Filter take the adviser's own expressions.
class frmDataGrid : public QWidget
{
    Q_OBJECT
public:
    // A table-type record set cannot be sorted or filtered; the main window hands a dynaset.
    enum class RecordsetType { Table, Dynaset };

    // What the list needs of the main window.
    struct MainWindowLink
    {
        // Stores what the main window shows before the list moves or changes the record set;
        // false keeps the list where it is.
        std::function<bool()> leaveRecord;
        // The list moved the record set or changed a record: show the current record.
        std::function<void()> recordMoved;
        // The message window (title, message).
        std::function<void(const QString& title, const QString& message)> showMsg;
    };

    frmDataGrid(ClientDataSource& records, RecordsetType type, const Catalogue& catalogue,
                ErrorReporter& reporter, MainWindowLink link, QWidget* parent = nullptr);
    ~frmDataGrid() override;

    // The main window moved, saved, added or deleted: show the record set as it is now. The main
    // window calls it whenever it shows another record, also after the list moved it.
    void followRecordSet();

    QString sortColumn() const { return SortColumn; }
    QTableView* grid() const { return grdDataGrid; }

    void cmdRefresh_Click();
    void cmdSort_Click();
    void cmdFilter_Click();
    void cmdClose_Click();
    void grdDataGrid_HeadClick(int colIndex);
    void grdDataGrid_DblClick();
    // The Delete key on a row.
    void deleteCurrentRow();

protected:
    // Escape closes the list, as Close does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load(const Catalogue& catalogue);
    bool grdDataGrid_BeforeDelete(int row);
    bool grdDataGrid_BeforeUpdate();
    bool applyQuery(const QString& filterText, const QString& sortText);
    bool editCell(int row, int column, const QVariant& value);
    void rowSelected(int row);
    void selectCurrentRecord();
    void showMovedRecordSet();
    void showError(const QString& message);

    ClientDataSource& m_records;
    RecordsetType m_type;
    ErrorReporter& m_reporter;
    MainWindowLink m_link;
    ClientTableModel* m_model = nullptr;
    QTableView* grdDataGrid = nullptr;
    QWidget* picButtons = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdSort = nullptr;
    QPushButton* cmdFilter = nullptr;
    QPushButton* cmdClose = nullptr;

    QString SortColumn;
    int SortColumnIndex = -1;
    bool m_selecting = false;
};

} // namespace halcyra
