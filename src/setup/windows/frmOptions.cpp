#include "setup/windows/frmOptions.h"

#include "core/BusyCursor.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/windows/ApplyCatalogueCaptions.h"
#include "setup/OptionsTexts.h"
#include "ui/windows/KeepOnScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace halcyra {
namespace {

constexpr int kExampleTextId = 1090;
// The pages whose captions and tool tips come from the catalogue; the E-mail page is ours.
constexpr int kCataloguePages = 5;

QString label(const char* procedure)
{
    return QStringLiteral("frmOptions:Sub ") + QString::fromLatin1(procedure) +
           QStringLiteral("()");
}

QPushButton* commandButton(QWidget* parent, const char* name, const char* caption, int captionId)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty("tag", captionId);
    // The catalogue number stands in the tool tip until the captions are applied.
    button->setToolTip(QString::number(captionId + 1));
    return button;
}

QLabel* helpLabel(const QString& name, const QString& text)
{
    auto* help = new QLabel(text);
    help->setObjectName(name);
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help->setMinimumWidth(260);
    return help;
}

QWidget* page(int index)
{
    auto* widget = new QWidget;
    widget->setObjectName(QStringLiteral("picOptions_%1").arg(index));
    return widget;
}

} // namespace

frmOptions::frmOptions(const Catalogue& catalogue, SettingsStore& settings, ErrorReporter& reporter,
                       QWidget* parent)
    : QDialog(parent), m_settings(settings), m_reporter(reporter)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));

    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->addTab(buildDocumentsPage(0), QStringLiteral("Reports"));
    tbsOptions->addTab(buildDocumentsPage(1), QStringLiteral("Daily Intake"));
    tbsOptions->addTab(buildPageHeadersPage(), QStringLiteral("Page Headers"));
    tbsOptions->addTab(buildMessagesPage(), QStringLiteral("Display Messages"));
    tbsOptions->addTab(buildFlyersPage(catalogue), QStringLiteral("Flyers"));
    tbsOptions->addTab(buildEmailPage(), QStringLiteral("E-mail"));
    tbsOptions->setTabToolTip(kCataloguePages, QStringLiteral("How e-mail is sent."));
    for (int i = 0; i < kCataloguePages; ++i) {
        tbsOptions->tabBar()->setTabData(i, 1072 + 2 * i);
        tbsOptions->setTabToolTip(i, QString::number(1073 + 2 * i));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions);
    layout->addWidget(buildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(tbsOptions, &QTabWidget::currentChanged, this, &frmOptions::tbsOptions_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmOptions::cmdPrint_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmOptions::cmdView_Click);
    for (int i = 0; i < kFlyersMethodCount; ++i)
        connect(optMethod[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optMethod_Click(i);
        });

    // Form_KeyDown: Ctrl+Tab and Ctrl+Shift+Tab step through the tabs, wherever the focus is.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, [this] { selectNeighbourTab(true); });
    for (QKeyCombination back :
         {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab}) {
        auto* previous = new QShortcut(QKeySequence(back), this);
        connect(previous, &QShortcut::activated, this, [this] { selectNeighbourTab(false); });
    }

    Form_Load(catalogue);
    keepOnScreen(this);
}

QWidget* frmOptions::buildDocumentsPage(int index)
{
    const bool reports = index == 0;
    auto* widget = page(index);
    auto* frame = new QGroupBox(reports ? QStringLiteral("Documents to Print")
                                        : QStringLiteral("Daily Intake Sheets"));
    frame->setObjectName(reports ? QStringLiteral("fraDocuments") : QStringLiteral("fraDaily"));
    auto* boxes = new QVBoxLayout(frame);
    auto& checks = reports ? Check1 : Check2;
    const auto& captions = reports ? reportDocumentCaptions() : dailySheetCaptions();
    for (int n = 1; n <= kDocumentsPerPage; ++n) {
        checks[n - 1] = new QCheckBox(captions[n - 1], frame);
        checks[n - 1]->setObjectName(
            (reports ? QStringLiteral("Check1_%1") : QStringLiteral("Check2_%1")).arg(n));
        boxes->addWidget(checks[n - 1]);
    }
    boxes->addStretch(1);

    auto* row = new QHBoxLayout(widget);
    row->addWidget(frame);
    row->addWidget(helpLabel(QStringLiteral("lblHelp_%1").arg(index), {}), 1);
    return widget;
}

QWidget* frmOptions::buildPageHeadersPage()
{
    auto* widget = page(2);
    auto* frame = new QGroupBox(QStringLiteral("Include in Page Header"));
    frame->setObjectName(QStringLiteral("fraHeader"));
    Combo1 = new QComboBox(frame);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->addItems(headerChoices());
    Combo1->setToolTip(QStringLiteral("Click the Down Arrow at the right end of this control, "
                                      "then click the desired Header option to select it."));
    chkFax = new QCheckBox(QStringLiteral("Fax Number"), frame);
    chkFax->setObjectName(QStringLiteral("chkFax"));
    chkFax->setToolTip(
        QStringLiteral("Select or deselect if Fax Number is to appear on Page Headers."));
    chkEmail = new QCheckBox(QStringLiteral("E-mail"), frame);
    chkEmail->setObjectName(QStringLiteral("chkEmail"));
    chkEmail->setToolTip(
        QStringLiteral("Select or deselect if E-mail Address is to appear on Page Headers."));
    auto* boxes = new QVBoxLayout(frame);
    boxes->addWidget(Combo1);
    boxes->addWidget(chkFax);
    boxes->addWidget(chkEmail);
    boxes->addStretch(1);

    auto* row = new QHBoxLayout(widget);
    row->addWidget(frame);
    row->addWidget(helpLabel(QStringLiteral("lblHeader"), {}), 1);
    return widget;
}

QWidget* frmOptions::buildMessagesPage()
{
    auto* widget = page(3);
    auto* messages = new QGroupBox(QStringLiteral("Don't Show Messages"));
    messages->setObjectName(QStringLiteral("fraMessages"));
    auto* grid = new QGridLayout(messages);
    constexpr int kRows = (kMessageSwitchCount + 1) / 2;
    for (int i = 0; i < kMessageSwitchCount; ++i) {
        ckMsg[i] = new QCheckBox(messageSwitches()[i].caption, messages);
        ckMsg[i]->setObjectName(QStringLiteral("ckMsg_%1").arg(i));
        ckMsg[i]->setToolTip(messageSwitches()[i].toolTip);
        grid->addWidget(ckMsg[i], i % kRows, i / kRows);
    }

    auto* tips = new QGroupBox(QStringLiteral("Show Tips"));
    tips->setObjectName(QStringLiteral("fraTips"));
    auto* didYouKnow = new QLabel(QStringLiteral("Did you know..."), tips);
    didYouKnow->setObjectName(QStringLiteral("lblTipSample"));
    QFont bold = didYouKnow->font();
    bold.setBold(true);
    didYouKnow->setFont(bold);
    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), tips);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    auto* tipRow = new QHBoxLayout(tips);
    tipRow->addWidget(didYouKnow);
    tipRow->addStretch(1);
    tipRow->addWidget(chkLoadTipsAtStartup);

    auto* column = new QVBoxLayout(widget);
    column->addWidget(messages);
    column->addWidget(tips);
    column->addStretch(1);
    return widget;
}

QWidget* frmOptions::buildFlyersPage(const Catalogue& catalogue)
{
    auto* widget = page(4);
    auto* column = new QVBoxLayout(widget);
    for (int i = 0; i < kFlyersMethodCount; ++i) {
        optMethod[i] = new QRadioButton(flyersMethodCaptions()[i], widget);
        optMethod[i]->setObjectName(QStringLiteral("optMethod_%1").arg(i));
        column->addWidget(optMethod[i]);
    }

    fraFlyers = new QGroupBox(widget);
    fraFlyers->setObjectName(QStringLiteral("fraFlyers"));
    auto* instructions = new QLabel(
        QStringLiteral("In the Text field below, type in the Path and File Name for Acrobat "
                       "Reader."),
        fraFlyers);
    instructions->setObjectName(QStringLiteral("lblInstructions"));
    instructions->setWordWrap(true);
    txtPath = new QLineEdit(fraFlyers);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    auto* example = new QLabel(catalogue.LoadResString(kExampleTextId), fraFlyers);
    example->setObjectName(QStringLiteral("lblExample"));
    example->setProperty("tag", kExampleTextId);
    auto* frameColumn = new QVBoxLayout(fraFlyers);
    frameColumn->addWidget(instructions);
    frameColumn->addWidget(txtPath);
    frameColumn->addWidget(example);
    column->addWidget(fraFlyers);
    column->addStretch(1);
    return widget;
}

QWidget* frmOptions::buildEmailPage()
{
    auto* widget = page(5);
    auto* frame = new QGroupBox(QStringLiteral("Sending without the Mail Program"));
    frame->setObjectName(QStringLiteral("fraSmtp"));
    txtSmtpServer = new QLineEdit(frame);
    txtSmtpServer->setObjectName(QStringLiteral("txtSmtpServer"));
    txtSmtpServer->setToolTip(QStringLiteral("Your mail provider's outgoing (SMTP) server."));
    cboSmtpSecurity = new QComboBox(frame);
    cboSmtpSecurity->setObjectName(QStringLiteral("cboSmtpSecurity"));
    cboSmtpSecurity->addItems(smtpSecurityChoices());
    txtSmtpPort = new QSpinBox(frame);
    txtSmtpPort->setObjectName(QStringLiteral("txtSmtpPort"));
    txtSmtpPort->setRange(1, 65535);
    txtSmtpUser = new QLineEdit(frame);
    txtSmtpUser->setObjectName(QStringLiteral("txtSmtpUser"));
    txtSmtpUser->setToolTip(QStringLiteral("Leave empty when the server needs no login."));
    txtSenderAddress = new QLineEdit(frame);
    txtSenderAddress->setObjectName(QStringLiteral("txtSenderAddress"));
    txtSmtpCaFile = new QLineEdit(frame);
    txtSmtpCaFile->setObjectName(QStringLiteral("txtSmtpCaFile"));
    txtSmtpCaFile->setToolTip(QStringLiteral("A certificate to trust instead of the system's, for "
                                             "a server with a company or self-signed "
                                             "certificate. Leave empty for the usual ones."));
    cmdSmtpCaFile = new QPushButton(QStringLiteral("C&hoose..."), frame);
    cmdSmtpCaFile->setObjectName(QStringLiteral("cmdSmtpCaFile"));
    cmdSmtpCaFile->setAutoDefault(false);
    auto* certificateRow = new QHBoxLayout;
    certificateRow->addWidget(txtSmtpCaFile, 1);
    certificateRow->addWidget(cmdSmtpCaFile);
    auto* note = new QLabel(QStringLiteral("The password is kept in your desktop's keyring, or "
                                           "asked for when a message is sent. \"None\" sends "
                                           "everything, password included, unencrypted."),
                            frame);
    note->setObjectName(QStringLiteral("lblSmtpNote"));
    note->setWordWrap(true);
    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Mail server:"), txtSmtpServer);
    form->addRow(QStringLiteral("Security:"), cboSmtpSecurity);
    form->addRow(QStringLiteral("Port:"), txtSmtpPort);
    form->addRow(QStringLiteral("User name:"), txtSmtpUser);
    form->addRow(QStringLiteral("Sender address:"), txtSenderAddress);
    form->addRow(QStringLiteral("Trusted certificate:"), certificateRow);
    form->addRow(note);
    connect(cboSmtpSecurity, &QComboBox::currentIndexChanged, this,
            &frmOptions::cboSmtpSecurity_Click);
    connect(cmdSmtpCaFile, &QPushButton::clicked, this, &frmOptions::cmdSmtpCaFile_Click);

    auto* column = new QVBoxLayout(widget);
    column->addWidget(frame);
    column->addStretch(1);
    return widget;
}

void frmOptions::cboSmtpSecurity_Click(int index)
{
    // A port still at the usual number of the old choice follows the new one.
    if (m_loading || index < 0)
        return;
    for (SmtpSecurity old : {SmtpSecurity::StartTls, SmtpSecurity::Tls, SmtpSecurity::None})
        if (txtSmtpPort->value() == defaultSmtpPort(old)) {
            txtSmtpPort->setValue(defaultSmtpPort(static_cast<SmtpSecurity>(index)));
            break;
        }
}

void frmOptions::cmdSmtpCaFile_Click()
{
    m_reporter.trap(label("cmdSmtpCaFile_Click"), [&] {
        const auto chosen = m_reporter.prompts().chooseFile(
            QStringLiteral("Certificate to Trust"),
            QStringLiteral("Certificates (*.pem *.crt *.cer);;All files (*)"), false);
        if (!chosen)
            return;
        if (const Status usable = checkCertificateFile(*chosen); !usable) {
            m_reporter.prompts().inform(QStringLiteral("Options"), usable.error(),
                                        UserPrompts::Icon::Warning);
            return;
        }
        txtSmtpCaFile->setText(*chosen);
    });
}

QWidget* frmOptions::buildButtons()
{
    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    cmdOK = commandButton(buttons, "cmdOK", "&OK", 1082);
    cmdCancel = commandButton(buttons, "cmdCancel", "Ca&ncel", 1084);
    cmdApply = commandButton(buttons, "cmdApply", "Appl&y", 1086);
    cmdPrint = commandButton(buttons, "cmdPrint", "&Print", 1088);
    cmdView = commandButton(buttons, "cmdView", "&View", 1092);
    for (QPushButton* button : {cmdOK, cmdCancel, cmdApply, cmdPrint, cmdView})
        row->addWidget(button);
    return buttons;
}

void frmOptions::Form_Load(const Catalogue& catalogue)
{
    m_reporter.trap(label("Form_Load"), [&] {
        ApplyCatalogueCaptions(*this, catalogue);

        m_values = readOptionValues(m_settings);
        for (int tab = 1; tab <= kOptionsTabCount; ++tab)
            showValues(static_cast<OptionsTab>(tab));
        for (const char* name : {"lblHelp_0", "lblHelp_1"})
            findChild<QLabel*>(QString::fromLatin1(name))->setText(documentsHelpText());
        findChild<QLabel*>(QStringLiteral("lblHeader"))->setText(pageHeadersHelpText());
    });
    setMode(OptionsMode::Plain);
    m_loading = false;
}

void frmOptions::setMode(OptionsMode mode)
{
    const bool loading = m_loading;
    m_loading = true;
    m_reporter.trap(label("Form_Load"), [&] {
        const OptionsModeLayout layout = optionsModeLayout(mode);
        setWindowTitle(layout.caption);
        cmdPrint->setVisible(layout.printShown);
        cmdView->setVisible(layout.viewShown);
        selectTab(layout.firstTab);
        setDefaultButton(layout.defaultButton);
    });
    m_loading = loading;
}

OptionsResult frmOptions::run(OptionsMode mode)
{
    setMode(mode);
    m_result = {};
    exec();
    return m_result;
}

OptionsTab frmOptions::selectedTab() const
{
    return static_cast<OptionsTab>(tbsOptions->currentIndex() + 1);
}

void frmOptions::selectTab(OptionsTab tab)
{
    tbsOptions->setCurrentIndex(static_cast<int>(tab) - 1);
}

void frmOptions::selectNeighbourTab(bool forward)
{
    selectTab(neighbourTab(selectedTab(), forward));
}

void frmOptions::tbsOptions_Click()
{
    if (m_loading)
        return;
    m_reporter.trap(label("tbsOptions_Click"), [&] {
        const OptionsTab tab = selectedTab();
        if (tab != OptionsTab::Reports && tab != OptionsTab::DailyIntake) {
            // Once another page has been seen, the chosen documents may no longer be what the
            // adviser means to print, so Print and View stay off.
            cmdPrint->setEnabled(false);
            cmdView->setEnabled(false);
        }
        setDefaultButton(OptionsButton::OK);
        if (tab == OptionsTab::PageHeaders)
            Combo1->setEditText(m_settings.get(keys::includeInPageHeader()));
        if (tab == OptionsTab::Flyers) {
            OptionValues stored;
            readOptionsPage(m_settings, OptionsTab::Flyers, stored);
            optMethod[stored.flyersMethod]->setChecked(true);
            optMethod_Click(stored.flyersMethod);
        }
    });
}

void frmOptions::optMethod_Click(int index)
{
    m_reporter.trap(label("optMethod_Click"), [&] {
        const bool storedReader = index == kFlyersMethodStoredReader;
        fraFlyers->setVisible(storedReader);
        if (storedReader)
            txtPath->setText(m_settings.get(keys::readerPath()));
    });
}

void frmOptions::setDefaultButton(OptionsButton button)
{
    cmdOK->setDefault(button == OptionsButton::OK);
    cmdPrint->setDefault(button == OptionsButton::Print);
    cmdView->setDefault(button == OptionsButton::View);
}

void frmOptions::showValues(OptionsTab tab)
{
    switch (tab) {
    case OptionsTab::Reports:
    case OptionsTab::DailyIntake: {
        const bool reports = tab == OptionsTab::Reports;
        const auto& values = reports ? m_values.reportDocuments : m_values.dailySheets;
        const auto& boxes = reports ? Check1 : Check2;
        for (int i = 0; i < kDocumentsPerPage; ++i)
            boxes[i]->setChecked(values[i]);
        break;
    }
    case OptionsTab::PageHeaders:
        Combo1->setEditText(m_values.headerChoice);
        chkFax->setChecked(m_values.includeFax);
        chkEmail->setChecked(m_values.includeEmail);
        break;
    case OptionsTab::DisplayMessages:
        chkLoadTipsAtStartup->setChecked(m_values.showTipsAtStartup);
        for (int i = 0; i < kMessageSwitchCount; ++i)
            ckMsg[i]->setChecked(m_values.doNotShow[i]);
        break;
    case OptionsTab::Flyers:
        txtPath->setText(m_values.readerPath);
        // Selecting an already selected method sends no toggle, so its rule runs here.
        optMethod[m_values.flyersMethod]->setChecked(true);
        optMethod_Click(m_values.flyersMethod);
        break;
    case OptionsTab::Email: {
        const bool loading = m_loading;
        m_loading = true;
        txtSmtpServer->setText(m_values.smtp.server);
        cboSmtpSecurity->setCurrentIndex(static_cast<int>(m_values.smtp.security));
        txtSmtpPort->setValue(m_values.smtp.port);
        txtSmtpUser->setText(m_values.smtp.user);
        txtSenderAddress->setText(m_values.smtp.sender);
        txtSmtpCaFile->setText(m_values.smtp.caFile);
        m_loading = loading;
        break;
    }
    }
}

void frmOptions::takeValues(OptionsTab tab)
{
    switch (tab) {
    case OptionsTab::Reports:
    case OptionsTab::DailyIntake: {
        const bool reports = tab == OptionsTab::Reports;
        auto& values = reports ? m_values.reportDocuments : m_values.dailySheets;
        const auto& boxes = reports ? Check1 : Check2;
        for (int i = 0; i < kDocumentsPerPage; ++i)
            values[i] = boxes[i]->isChecked();
        break;
    }
    case OptionsTab::PageHeaders:
        m_values.headerChoice = Combo1->currentText();
        m_values.includeFax = chkFax->isChecked();
        m_values.includeEmail = chkEmail->isChecked();
        break;
    case OptionsTab::DisplayMessages:
        m_values.showTipsAtStartup = chkLoadTipsAtStartup->isChecked();
        for (int i = 0; i < kMessageSwitchCount; ++i)
            m_values.doNotShow[i] = ckMsg[i]->isChecked();
        break;
    case OptionsTab::Flyers:
        for (int i = 0; i < kFlyersMethodCount; ++i)
            if (optMethod[i]->isChecked()) {
                m_values.flyersMethod = i;
                break;
            }
        m_values.readerPath = txtPath->text();
        break;
    case OptionsTab::Email:
        m_values.smtp.server = txtSmtpServer->text();
        m_values.smtp.security = static_cast<SmtpSecurity>(cboSmtpSecurity->currentIndex());
        m_values.smtp.port = txtSmtpPort->value();
        m_values.smtp.user = txtSmtpUser->text();
        m_values.smtp.sender = txtSenderAddress->text();
        m_values.smtp.caFile = txtSmtpCaFile->text().trimmed();
        break;
    }
}

void frmOptions::cmdApply_Click()
{
    m_reporter.trap(label("cmdApply_Click"), [&] { applyPage(); });
}

bool frmOptions::applyPage()
{
    m_result.selectedDocs = QString();
    const OptionsTab tab = selectedTab();
    takeValues(tab);
    // A certificate typed in by hand is checked as one chosen with the button is.
    if (tab == OptionsTab::Email)
        if (const Status usable = checkCertificateFile(m_values.smtp.caFile); !usable) {
            m_reporter.prompts().inform(QStringLiteral("Options"),
                                        usable.error() + QStringLiteral(" Nothing was saved."),
                                        UserPrompts::Icon::Warning);
            return false;
        }
    m_result.selectedDocs = saveOptionsPage(m_settings, tab, m_values);
    // The page shows what was stored (a header choice made valid).
    if (tab == OptionsTab::PageHeaders)
        Combo1->setEditText(m_values.headerChoice);
    return true;
}

void frmOptions::cmdOK_Click()
{
    m_reporter.trap(label("cmdOK_Click"), [&] {
        if (applyPage())
            finish(OptionsButton::OK);
    });
}

void frmOptions::cmdCancel_Click()
{
    m_reporter.trap(label("cmdCancel_Click"), [&] {
        const BusyCursor busy(m_reporter.prompts());
        for (OptionsTab tab : {OptionsTab::Reports, OptionsTab::DailyIntake,
                               OptionsTab::PageHeaders, OptionsTab::DisplayMessages}) {
            readOptionsPage(m_settings, tab, m_values);
            showValues(tab);
        }
        finish(OptionsButton::Cancel);
        QApplication::processEvents();
    });
}

void frmOptions::reject()
{
    cmdCancel_Click();
}

void frmOptions::cmdPrint_Click()
{
    m_reporter.trap(label("cmdPrint_Click"), [&] {
        const BusyCursor busy(m_reporter.prompts());
        cmdApply_Click();
        // The command prints these once the dialog is gone.
        m_result.steps = documentsToPrint(selectedTab(), m_result.selectedDocs.value_or(QString()));
        finish(OptionsButton::Print);
    });
}

void frmOptions::cmdView_Click()
{
    m_reporter.trap(label("cmdView_Click"), [&] {
        const BusyCursor busy(m_reporter.prompts());
        cmdApply_Click();
        finish(OptionsButton::View);
    });
}

void frmOptions::finish(OptionsButton button)
{
    m_result.button = button;
    QDialog::done(button == OptionsButton::Cancel ? QDialog::Rejected : QDialog::Accepted);
}

OptionsChooser optionsDialogChooser(const Catalogue& catalogue, SettingsStore& settings,
                                    ErrorReporter& reporter)
{
    return [&catalogue, &settings, &reporter](OptionsMode mode, QWidget* parent) {
        return frmOptions(catalogue, settings, reporter, parent).run(mode);
    };
}

} // namespace halcyra
