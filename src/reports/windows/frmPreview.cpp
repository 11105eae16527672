#include "reports/windows/frmPreview.h"

#include "core/ErrorReporter.h"
#include "flyers/ReaderQueue.h"
#include "reports/PageWriter.h"
#include "ui/windows/KeepOnScreen.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextStream>
#include <QVBoxLayout>

namespace halcyra {
namespace {

constexpr int kCoverStack = 0;
constexpr int kTextStack = 1;
constexpr int kGuideStack = 2;

// Visible characters of the fixed-pitch pages: the guide's cells end at column 78 and the
// summary's category names need about 70.
constexpr int kGuideVisibleColumns = 80;

QString label(const char* procedure)
{
    return QStringLiteral("frmPreview:Sub ") + QString::fromLatin1(procedure) +
           QStringLiteral("()");
}

QFont fixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QFont arialFont(int size, bool bold = false)
{
    QFont font(arial(), size);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmPreview::frmPreview(QString folder, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent), m_folder(std::move(folder)), m_reporter(reporter)
{
    setObjectName(QStringLiteral("frmPreview"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    cmdNext = button(this, "cmdNext", "&Next");
    cmdPrevious = button(this, "cmdPrevious", "&Previous");
    cmdPrint = button(this, "cmdPrint", "P&rint");
    cmdFlyers = button(this, "cmdFlyers", "&Flyers");
    cmdClose = button(this, "cmdClose", "&Close");
    cmdOther = button(this, "cmdOther", "&Other Documents");
    for (QPushButton* b : {cmdNext, cmdPrevious, cmdPrint, cmdFlyers, cmdClose, cmdOther})
        row->addWidget(b);
    lblClient = new QLabel(this);
    lblClient->setObjectName(QStringLiteral("lblClient"));
    lblClient->setFont(arialFont(10, true));
    row->addSpacing(12);
    row->addWidget(lblClient, 1);
    layout->addLayout(row);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildCover());
    m_pages->addWidget(buildTextPage());
    m_pages->addWidget(buildGuidePage());
    layout->addWidget(m_pages, 1);

    connect(cmdNext, &QPushButton::clicked, this, [this] { press(Button::Next); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { press(Button::Previous); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { press(Button::Print); });
    connect(cmdFlyers, &QPushButton::clicked, this, [this] { press(Button::Flyers); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { press(Button::Close); });
    connect(cmdOther, &QPushButton::clicked, this, &frmPreview::cmdOther_Click);
    connect(lstSuppGuide, &QListWidget::itemChanged, this, &frmPreview::lstSuppGuide_ItemCheck);
    // The page text keeps no selection.
    connect(txtPreview, &QPlainTextEdit::selectionChanged, this, [this] {
        QTextCursor cursor = txtPreview->textCursor();
        if (cursor.hasSelection()) {
            cursor.clearSelection();
            txtPreview->setTextCursor(cursor);
        }
    });

    // Form_Load: a large window in the upper middle of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    setGeometry(screen.left() + screen.width() / 5, screen.top() + screen.height() / 10,
                screen.width() * 7 / 10, screen.height() * 8 / 10);
    keepOnScreen(this);
    cmdFlyers->setEnabled(false);
    cmdOther->setEnabled(false);
}

QWidget* frmPreview::buildCover()
{
    picCover = new QWidget;
    picCover->setObjectName(QStringLiteral("picCover"));
    picCover->setAutoFillBackground(true);
    QPalette paper = picCover->palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    picCover->setPalette(paper);
    auto* grid = new QGridLayout(picCover);
    grid->setContentsMargins(24, 16, 24, 24);
    static const int kSizes[] = {16, 10, 24, 10, 8, 10, 10};
    static const bool kBold[] = {true, false, true, false, false, false, true};
    for (int i = 0; i < screen::CoverPage::kBoxes; ++i) {
        auto* box = new QLabel(picCover);
        box->setObjectName(QStringLiteral("txtCover_%1").arg(i));
        box->setFont(arialFont(kSizes[i], kBold[i]));
        box->setTextFormat(Qt::PlainText);
        box->setWordWrap(i <= 3);
        box->setAlignment(i <= 3 ? Qt::AlignHCenter : Qt::AlignLeft);
        txtCover[static_cast<size_t>(i)] = box;
    }
    txtCover[6]->setAlignment(Qt::AlignRight);
    grid->addWidget(txtCover[6], 0, 0);
    grid->setRowMinimumHeight(1, 24);
    for (int i = 0; i <= 3; ++i)
        grid->addWidget(txtCover[static_cast<size_t>(i)], 2 + i, 0);
    grid->setRowMinimumHeight(6, 36);
    grid->addWidget(txtCover[4], 7, 0);
    grid->addWidget(txtCover[5], 8, 0);
    grid->setRowStretch(9, 1);
    grid->setRowStretch(6, 1);
    return picCover;
}

QWidget* frmPreview::buildTextPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(0);
    lblSummary = new QLabel(QStringLiteral("Summary"), page);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setFont(arialFont(10, true));
    picSummLabel = new QLabel(page);
    picSummLabel->setObjectName(QStringLiteral("picSummLabel"));
    picSummLabel->setFont(fixedPitchFont());
    picSummLabel->setTextFormat(Qt::PlainText);
    txtPreview = new QPlainTextEdit(page);
    txtPreview->setObjectName(QStringLiteral("txtPreview"));
    txtPreview->setReadOnly(true);
    layout->addWidget(lblSummary);
    layout->addWidget(picSummLabel);
    layout->addWidget(txtPreview, 1);
    return page;
}

QWidget* frmPreview::buildGuidePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(2);
    lblSuppGuide = new QLabel(
        QStringLiteral("Tick the lines whose flyers the client should have, then press Flyers."),
        page);
    lblSuppGuide->setObjectName(QStringLiteral("lblSuppGuide"));
    lblSuppGuide->setFont(arialFont(10, true));
    picSuppGuideLabel = new QLabel(page);
    picSuppGuideLabel->setObjectName(QStringLiteral("picSuppGuideLabel"));
    picSuppGuideLabel->setFont(fixedPitchFont());
    picSuppGuideLabel->setTextFormat(Qt::PlainText);
    lstSuppGuide = new QListWidget(page);
    lstSuppGuide->setObjectName(QStringLiteral("lstSuppGuide"));
    lstSuppGuide->setFont(fixedPitchFont());
    lstSuppGuide->setUniformItemSizes(true);
    lstSuppGuide->setTextElideMode(Qt::ElideNone);
    layout->addWidget(lblSuppGuide);
    layout->addWidget(picSuppGuideLabel);
    layout->addWidget(lstSuppGuide, 1);
    return page;
}

void frmPreview::setFrame(const Frame& frame, int stackIndex)
{
    setWindowTitle(screen::pageCaption(frame.page));
    // "Print Summary" and the like; Alt+P is Previous's, so Print takes its r.
    QString printCaption = screen::printCaption(frame.page);
    if (printCaption.startsWith(u"Pr"))
        printCaption.insert(1, u'&');
    cmdPrint->setText(printCaption);
    cmdPrint->setEnabled(true);
    cmdNext->setEnabled(frame.next);
    cmdPrevious->setEnabled(frame.previous);
    cmdOther->setEnabled(frame.other);
    m_pages->setCurrentIndex(stackIndex);
    const bool summary = frame.page == screen::kSummaryPage;
    lblSummary->setVisible(summary);
    picSummLabel->setVisible(summary);
    txtPreview->setFont(summary ? fixedPitchFont() : arialFont(10));
    txtPreview->setLineWrapMode(summary ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    // The page's place on the screen; the width rules of the caption follow.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int width =
        frame.page == screen::kSupplementGuidePage ? twips(8000) : screen.width() * 6 / 10;
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    txtPreview->setMinimumWidth(0);
    txtPreview->setMaximumWidth(QWIDGETSIZE_MAX);
    setGeometry(screen.left() + screen.width() / 5, screen.top() + screen.height() / 10, width,
                screen.height() * 8 / 10);
    Form_Resize();
    if (isVisible())
        fitOnScreenNow(this);
}

void frmPreview::showCover(const Frame& frame, const screen::CoverPage& cover)
{
    for (int i = 0; i < screen::CoverPage::kBoxes; ++i)
        txtCover[static_cast<size_t>(i)]->setText(cover.boxes[static_cast<size_t>(i)]);
    setFrame(frame, kCoverStack);
}

void frmPreview::showText(const Frame& frame, const QString& text)
{
    picSummLabel->setText(frame.page == screen::kSummaryPage ? screen::summaryHeading()
                                                             : QString());
    txtPreview->setPlainText(text);
    picSummLabel->setContentsMargins(txtPreview->frameWidth() +
                                         static_cast<int>(txtPreview->document()->documentMargin()),
                                     0, 0, 0);
    setFrame(frame, kTextStack);
}

void frmPreview::showGuide(const Frame& frame, const QStringList& items)
{
    picSuppGuideLabel->setText(screen::supplementGuideHeading());
    // The headings stand over the columns of the list's text, past the tick boxes.
    picSuppGuideLabel->setContentsMargins(guideTextIndent(), 0, 0, 0);
    lstSuppGuide->clear();
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, lstSuppGuide);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    cmdFlyers->setEnabled(false);
    setFrame(frame, kGuideStack);
}

void frmPreview::setClientName(const QString& name)
{
    lblClient->setText(name);
}

frmPreview::Button frmPreview::run()
{
    m_pressed = Button::None;
    exec();
    return m_pressed;
}

void frmPreview::press(Button b)
{
    m_pressed = b;
    hide();
    done(QDialog::Accepted);
}

void frmPreview::reject()
{
    press(Button::Close);
}

QStringList frmPreview::tickedItems() const
{
    QStringList ticked;
    for (int i = 0; i < lstSuppGuide->count(); ++i)
        if (lstSuppGuide->item(i)->checkState() == Qt::Checked)
            ticked << lstSuppGuide->item(i)->text();
    return ticked;
}

void frmPreview::clearText()
{
    txtPreview->clear();
}

void frmPreview::lstSuppGuide_ItemCheck(QListWidgetItem* item)
{
    m_reporter.trap(label("lstSuppGuide_ItemCheck"), [&] {
        // A blank separator line cannot be ticked.
        if (item->text().isEmpty() && item->checkState() == Qt::Checked) {
            item->setCheckState(Qt::Unchecked);
            return;
        }
        cmdFlyers->setEnabled(!tickedItems().isEmpty());
    });
}

void frmPreview::cmdOther_Click()
{
    m_reporter.trap(label("cmdOther_Click"), [&] {
        lstSuppGuide->clear();
        cmdOther->setEnabled(false);
        cmdPrint->setEnabled(false);
        cmdPrevious->setEnabled(true);
        cmdFlyers->setEnabled(false);
        m_pages->setCurrentIndex(kGuideStack);
        picSuppGuideLabel->setText(QStringLiteral("Document"));
        const QString path = findDocument(m_folder, QStringLiteral("OtherDoc.txt"));
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
            throw ProgramError(errors::kFileNotFound,
                               QStringLiteral("The list of other documents %1 could not be read.")
                                   .arg(QDir::toNativeSeparators(
                                       QDir(m_folder).filePath(QStringLiteral("OtherDoc.txt")))));
        QStringList lines;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (!line.trimmed().isEmpty())
                lines << line;
        }
        for (const QString& text : screen::otherDocumentItems(lines)) {
            auto* item = new QListWidgetItem(text, lstSuppGuide);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    });
}

void frmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

// The width rules by page: the fixed-pitch pages and the cover keep the width their columns
// need, the text pages follow the window but never hide a button.
void frmPreview::Form_Resize()
{
    if (m_resizing)
        return;
    m_resizing = true;
    const QString caption = windowTitle();
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The button row with the client's name, never cut.
    const int buttons = layout()->itemAt(0)->layout()->sizeHint().width() + margins;
    if (caption == u"Supplement Guide") {
        setFixedWidth(std::max(
            {twips(9000), buttons,
             guideTextIndent() + fixedPitchWidth(kGuideVisibleColumns) + scrollBar + margins}));
    } else if (caption == u"Cover Page") {
        setFixedWidth(std::max({twips(8445), buttons, picCover->sizeHint().width() + margins}));
    } else if (caption == u"Summary") {
        int longest = 0;
        const QStringList lines = txtPreview->toPlainText().split(u'\n');
        for (const QString& line : lines)
            longest = std::max(longest, static_cast<int>(line.size()));
        txtPreview->setFixedWidth(std::max(twips(7250), fixedPitchWidth(longest + 2) + scrollBar +
                                                            2 * txtPreview->frameWidth() + 8));
        setMinimumWidth(std::max(buttons, txtPreview->width() + margins));
    } else {
        setMinimumWidth(buttons);
    }
    m_resizing = false;
}

int frmPreview::guideTextIndent() const
{
    QStyleOptionViewItem option;
    option.initFrom(lstSuppGuide);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.font = fixedPitchFont();
    option.rect = QRect(0, 0, 400, QFontMetrics(option.font).height() + 4);
    const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, lstSuppGuide);
    return lstSuppGuide->frameWidth() + text.left();
}

int frmPreview::twips(int value) const
{
    return value * logicalDpiX() / 1440;
}

int frmPreview::fixedPitchWidth(int characters) const
{
    return QFontMetrics(fixedPitchFont(), this).horizontalAdvance(QString(characters, u'0'));
}

} // namespace halcyra
