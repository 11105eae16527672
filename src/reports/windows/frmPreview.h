#pragma once

#include "reports/ScreenPages.h"

#include <QDialog>
#include <array>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace halcyra {

class ErrorReporter;

// The window in which the on-screen report shows one page at a time. It is passive: the page
// loop fills it, shows it modally and reads which button hid it.
class frmPreview : public QDialog
{
    Q_OBJECT
public:
    enum class Button { None, Next, Previous, Print, Flyers, Close };

    // `folder` is the program folder, where "OtherDoc.txt" lies.
    frmPreview(QString folder, ErrorReporter& reporter, QWidget* parent = nullptr);

    // The frame of a page: captions and which of Next, Previous and Other may be used.
    struct Frame
    {
        int page = 0;
        bool next = false;
        bool previous = false;
        bool other = false;
    };
    void showCover(const Frame& frame, const screen::CoverPage& cover);
    void showText(const Frame& frame, const QString& text);
    void showGuide(const Frame& frame, const QStringList& items);
    void setClientName(const QString& name);

    // Shows the window modally; returns the button that hid it (the close box counts as
    // Close).
    Button run();
    Button pressed() const { return m_pressed; }
    // The texts of the ticked list items, in list order.
    QStringList tickedItems() const;
    void clearText();

    void cmdOther_Click();
    void lstSuppGuide_ItemCheck(QListWidgetItem* item);
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildCover();
    QWidget* buildTextPage();
    QWidget* buildGuidePage();
    void setFrame(const Frame& frame, int stackIndex);
    void press(Button button);
    void Form_Resize();
    int twips(int value) const;
    // Where the text of a list item starts, from the list's left edge.
    int guideTextIndent() const;
    int fixedPitchWidth(int characters) const;

    QString m_folder;
    ErrorReporter& m_reporter;
    Button m_pressed = Button::None;
    bool m_resizing = false;
    QStackedWidget* m_pages = nullptr;

public:
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdFlyers = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdOther = nullptr;
    QPlainTextEdit* txtPreview = nullptr;
    QWidget* picCover = nullptr;
    std::array<QLabel*, screen::CoverPage::kBoxes> txtCover{};
    QLabel* picSummLabel = nullptr;
    QLabel* picSuppGuideLabel = nullptr;
    QListWidget* lstSuppGuide = nullptr;
    QLabel* lblSuppGuide = nullptr;
    QLabel* lblSummary = nullptr;
    QLabel* lblClient = nullptr;
};

} // namespace halcyra
