#include "frmOptions.h"

#include "ClipboardGroup.h"
#include "DialogSupport.h"
#include "LockOptionsGroup.h"
#include "OptionFields.h"
#include "Placement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

using platform::PromptButtons;
using platform::PromptIcon;

namespace {

const QString Title = QStringLiteral("VLM");

// Wide enough for the longest entry of the action lists.
constexpr int ComboWidth = 170;
constexpr int NumberWidth = 80;
constexpr int KeyTextWidth = 40;

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QComboBox *choiceList(QWidget *parent, const QString &name, const QList<options::Choice> &choices)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    combo->setMinimumWidth(ComboWidth);
    options::fillChoices(*combo, choices);
    return combo;
}

QLineEdit *lineEdit(QWidget *parent, const QString &name, int width)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaximumWidth(width);
    return field;
}

QLabel *label(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *caption = new QLabel(text, parent);
    caption->setBuddy(buddy);
    return caption;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *push = new QPushButton(caption, parent);
    push->setObjectName(name);
    // Enter on a button that has the focus presses that button.
    push->setAutoDefault(true);
    return push;
}

// A page: its frames one under the other, with the spare room below them.
QWidget *page(QWidget *parent, const QString &name, const QList<QGroupBox *> &frames)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    auto *layout = new QVBoxLayout(panel);
    for (QGroupBox *frame : frames) {
        frame->setParent(panel);
        layout->addWidget(frame);
    }
    layout->addStretch();
    return panel;
}

// Lists and fields keep their own width instead of running to the frame's edge.
QFormLayout *formLayout(QWidget *frame = nullptr)
{
    auto *layout = new QFormLayout(frame);
    layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return layout;
}

void setText(QLineEdit &field, qint16 value)
{
    field.setText(QString::number(value));
}

} // namespace

frmOptions::frmOptions(const app::Services &services, QString programPath, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services), m_programPath(std::move(programPath))
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Options"));

    TabStrip = new QTabBar(this);
    TabStrip->setObjectName(QStringLiteral("TabStrip"));
    TabStrip->setExpanding(false);
    pages = new QStackedWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pict = {buildStartupPage(),    buildLoadSavePage(),   buildViewSystrayPage(),
            buildDefaultAddPage(), buildDefaultKeyPage(), buildLanguagePage()};
    for (QWidget *panel : pict) {
        pages->addWidget(panel);
    }
    const std::array<std::pair<QString, QString>, 5> tabs = {{
        {QStringLiteral("&Startup"), QStringLiteral("STARTUP")},
        {QStringLiteral("&Load Save"), QStringLiteral("LOADSAVE")},
        {QStringLiteral("&View-Systray"), QStringLiteral("VIEWSYSTRAY")},
        {QStringLiteral("&Default Add"), QStringLiteral("DEFAULTADD")},
        {QStringLiteral("Default &Key"), QStringLiteral("DEFAULTKEY")},
    }};
    for (const auto &[caption, key] : tabs) {
        TabStrip->setTabData(TabStrip->addTab(caption), key);
    }

    cmdOK = button(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdApply = button(this, QStringLiteral("cmdApply"), QStringLiteral("&Apply"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip);
    layout->addWidget(pages, 1);
    layout->addLayout(buttons);
    // As large as the largest page needs, no larger.
    resize(sizeHint());

    connect(TabStrip, &QTabBar::currentChanged, this, &frmOptions::TabStrip_Click);
    connect(optStartGroup, &QButtonGroup::idClicked, this, &frmOptions::optStart_Click);
    // Also runs when loading sets the box.
    connect(chkAutoLoadData, &QCheckBox::toggled, this, &frmOptions::chkAutoLoadData_Click);
    // Each text is typed only in place of its list's "-Other-" key.
    connect(cbBefore, &QComboBox::currentIndexChanged, this, [this] {
        txtbefore->setEnabled(options::selectedChoice(*cbBefore) == options::OtherKey);
    });
    connect(cbAfter, &QComboBox::currentIndexChanged, this, [this] {
        txtAfter->setEnabled(options::selectedChoice(*cbAfter) == options::OtherKey);
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
}

frmOptions::~frmOptions()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

QWidget *frmOptions::buildStartupPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Starting UP"));
    auto *layout = new QVBoxLayout(frame);
    optStartGroup = new QButtonGroup(this);
    const std::array<QString, 4> captions = {QStringLiteral("Normal startup"),
                                             QStringLiteral("Startup minimized"),
                                             QStringLiteral("Startup in system tray"),
                                             QStringLiteral("Load With Windows in system tray")};
    for (int i = 0; i < 4; ++i) {
        const auto at = static_cast<std::size_t>(i);
        optStart[at] = new QRadioButton(captions[at], frame);
        optStart[at]->setObjectName(QStringLiteral("optStart%1").arg(i));
        optStartGroup->addButton(optStart[at], i);
        layout->addWidget(optStart[at]);
    }
    layout->addSpacing(8);
    chkSplash = checkBox(frame, QStringLiteral("chkSplash"),
                         QStringLiteral("Show Splash screen on Startup"));
    chkTips = checkBox(frame, QStringLiteral("chkTips"), QStringLiteral("Show Tips on Startup"));
    chkWizard =
        checkBox(frame, QStringLiteral("chkWizard"), QStringLiteral("Show Wizard on Startup"));
    chkAutoLoadWin = checkBox(frame, QStringLiteral("chkAutoLoadWin"),
                              QStringLiteral("Load Window position on Startup"));
    chkAutoSaveWin = checkBox(frame, QStringLiteral("chkAutoSaveWin"),
                              QStringLiteral("Automatically Save Window Position"));
    for (QCheckBox *box : {chkSplash, chkTips, chkWizard, chkAutoLoadWin, chkAutoSaveWin}) {
        layout->addWidget(box);
    }
    return page(this, QStringLiteral("pict0"), {frame});
}

QWidget *frmOptions::buildLoadSavePage()
{
    auto *frame = new QGroupBox(QStringLiteral("Load Save option"));
    txthistory = new options::HistorySizeBox(frame);
    txthistory->setObjectName(QStringLiteral("txthistory"));
    txthistory->setMaximumWidth(NumberWidth);
    cbBackup = choiceList(frame, QStringLiteral("cbBackup"), options::backupTypes());
    chkAutoSaveData =
        checkBox(frame, QStringLiteral("chkAutoSaveData"), QStringLiteral("AutoSave Data on Exit"));
    chkAutoLoadData =
        checkBox(frame, QStringLiteral("chkAutoLoadData"), QStringLiteral("AutoLoad on Startup"));
    chkExpire = checkBox(frame, QStringLiteral("chkExpire"),
                         QStringLiteral("Check For Expiration on Load"));

    auto *fields = formLayout();
    fields->addRow(label(frame, QStringLiteral("Entry in Load History "), txthistory), txthistory);
    fields->addRow(label(frame, QStringLiteral("Backup Type"), cbBackup), cbBackup);
    auto *layout = new QVBoxLayout(frame);
    layout->addLayout(fields);
    layout->addWidget(chkAutoSaveData);
    layout->addWidget(chkAutoLoadData);
    layout->addWidget(chkExpire);
    fraLock = new LockOptionsGroup;
    return page(this, QStringLiteral("pict1"), {frame, fraLock});
}

QWidget *frmOptions::buildViewSystrayPage()
{
    auto *tray = new QGroupBox(QStringLiteral("Systray Options"));
    cbSystray = choiceList(tray, QStringLiteral("cbSystray"), options::trayIconActions());
    cbSystray2 = choiceList(tray, QStringLiteral("cbSystray2"), options::serviceActions());
    chkURLTray = checkBox(tray, QStringLiteral("chkURLTray"),
                          QStringLiteral("GO to Systray after executing URL"));
    auto *trayFields = formLayout(tray);
    trayFields->addRow(label(tray, QStringLiteral("Double Click Action"), cbSystray), cbSystray);
    trayFields->addRow(label(tray, QStringLiteral("Service Click Action"), cbSystray2), cbSystray2);
    trayFields->addRow(chkURLTray);

    auto *view = new QGroupBox(QStringLiteral("View Options"));
    chkViewIcon =
        checkBox(view, QStringLiteral("chkViewIcon"), QStringLiteral("Show Icons in Menu"));
    chkNotes = checkBox(view, QStringLiteral("chkNotes"), QStringLiteral("Show Notes on Grid"));
    cbAction = choiceList(view, QStringLiteral("cbAction"), options::gridActions());
    chkTV = checkBox(view, QStringLiteral("chkTV"),
                     QStringLiteral("Show Cat/Sub if no Treeview present"));
    chkFileName = checkBox(view, QStringLiteral("chkFileName"),
                           QStringLiteral("Show FileName in Title Caption"));
    auto *viewFields = formLayout(view);
    viewFields->addRow(chkViewIcon);
    viewFields->addRow(chkNotes);
    viewFields->addRow(label(view, QStringLiteral("Default Grid Action"), cbAction), cbAction);
    viewFields->addRow(chkTV);
    viewFields->addRow(chkFileName);
    return page(this, QStringLiteral("pict2"), {tray, view});
}

QWidget *frmOptions::buildDefaultAddPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Default Password Insert Value"));
    txtDExpire = lineEdit(frame, QStringLiteral("txtDExpire"), NumberWidth);
    txtDChange = lineEdit(frame, QStringLiteral("txtDChange"), NumberWidth);
    txtNExpire = lineEdit(frame, QStringLiteral("txtNExpire"), NumberWidth);
    txtNChange = lineEdit(frame, QStringLiteral("txtNChange"), NumberWidth);
    auto *fields = formLayout(frame);
    fields->addRow(label(frame, QStringLiteral("Expiration days"), txtDExpire), txtDExpire);
    fields->addRow(label(frame, QStringLiteral("Change days"), txtDChange), txtDChange);
    fields->addRow(label(frame, QStringLiteral("Notify expir. days"), txtNExpire), txtNExpire);
    fields->addRow(label(frame, QStringLiteral("Notify change days"), txtNChange), txtNChange);
    return page(this, QStringLiteral("pict3"), {frame});
}

QWidget *frmOptions::buildDefaultKeyPage()
{
    auto *frame = new QGroupBox(QStringLiteral("Default Keys"));
    cbBefore = choiceList(frame, QStringLiteral("cbBefore"), options::keyChoices());
    txtbefore = lineEdit(frame, QStringLiteral("txtbefore"), KeyTextWidth);
    txtbefore->setMaxLength(1);
    cbAfter = choiceList(frame, QStringLiteral("cbAfter"), options::keyChoices());
    txtAfter = lineEdit(frame, QStringLiteral("txtAfter"), KeyTextWidth);
    txtAfter->setMaxLength(1);
    auto *fields = new QGridLayout(frame);
    fields->addWidget(label(frame, QStringLiteral("Key between Username and Password"), cbBefore),
                      0, 0);
    fields->addWidget(cbBefore, 0, 1);
    fields->addWidget(txtbefore, 0, 2);
    fields->addWidget(label(frame, QStringLiteral("Key after Password"), cbAfter), 1, 0);
    fields->addWidget(cbAfter, 1, 1);
    fields->addWidget(txtAfter, 1, 2);
    fields->setColumnStretch(3, 1);
    clipboard = new options::ClipboardGroup;
    return page(this, QStringLiteral("pict4"), {frame, clipboard});
}

QWidget *frmOptions::buildLanguagePage()
{
    // The language is chosen at start-up, not here; the page stays for the
    // day it is, and no tab shows it.
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pict5"));
    cmdLanguage = new QPushButton(QStringLiteral("Select"), panel);
    cmdLanguage->setObjectName(QStringLiteral("cmdLanguage"));
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(cmdLanguage);
    layout->addStretch();
    return panel;
}

void frmOptions::setVisible(bool visible)
{
    if (visible) {
        Form_Load();
    }
    QWidget::setVisible(visible);
}

void frmOptions::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_services.windows.PushWindow(this);
    app::RestoreDialogPlacement(m_services, *this, Tag);

    // Every opening starts on the first page.
    TabStrip->setCurrentIndex(0);
    TabStrip_Click(0);

    LoadValues();
}

void frmOptions::LoadValues()
{
    const ProgramOptions &o = m_services.options;
    if (o.StartupType >= 0 && o.StartupType < static_cast<qint16>(optStart.size())) {
        optStart[static_cast<std::size_t>(o.StartupType)]->setChecked(true);
    }
    chkSplash->setChecked(o.ViewSplash);
    chkTips->setChecked(o.ViewTips);
    chkWizard->setChecked(o.ViewWizard);
    chkAutoLoadWin->setChecked(o.AutoLoadWin);
    chkAutoSaveWin->setChecked(o.AutoSaveWin);
    chkAutoSaveData->setChecked(o.AutoSaveData);
    chkAutoLoadData->setChecked(o.AutoLoadData);
    chkAutoLoadData_Click();
    chkExpire->setChecked(o.AutoCheck);
    chkURLTray->setChecked(o.GTSAfterURL);
    chkViewIcon->setChecked(o.ViewMenuIcon);
    chkNotes->setChecked(o.ShowNotes);
    chkTV->setChecked(o.ShowCatSub);
    chkFileName->setChecked(o.ViewFileName);

    options::selectChoice(*cbSystray, o.SysTrayDef);
    options::selectChoice(*cbSystray2, o.SysTrayPWDefault);
    options::selectChoice(*cbAction, o.DefaultGridAction);
    options::selectChoice(*cbBefore, o.KeyBeforeCB);
    options::selectChoice(*cbAfter, o.KeyAfterCB);
    cbBackup->setCurrentIndex(options::backupPosition(o.BackupFile, o.BackupHistory));
    // The lists may have selected nothing, which sends no change.
    txtbefore->setEnabled(options::selectedChoice(*cbBefore) == options::OtherKey);
    txtAfter->setEnabled(options::selectedChoice(*cbAfter) == options::OtherKey);

    txtAfter->setText(o.KeyAfter);
    txtbefore->setText(o.KeyBefore);
    txthistory->setValue(o.HistorySize);
    setText(*txtDExpire, o.ExpirationDays);
    setText(*txtDChange, o.ChangeDays);
    setText(*txtNExpire, o.ExpirationNotify);
    setText(*txtNChange, o.ChangeNotify);
    clipboard->load(o);
    fraLock->load(o);
}

bool frmOptions::checkNumberFields()
{
    const std::array<std::pair<QLineEdit *, QString>, 4> fields = {{
        {txtDExpire, QStringLiteral("Expiration days")},
        {txtDChange, QStringLiteral("Change days")},
        {txtNExpire, QStringLiteral("Notify expir. days")},
        {txtNChange, QStringLiteral("Notify change days")},
    }};
    for (const auto &[field, caption] : fields) {
        if (!options::wholeNumber(field->text())) {
            m_services.prompt.ask(
                QStringLiteral("\"%1\" must be a whole number from -32768 to 32767.").arg(caption),
                PromptButtons::Ok, PromptIcon::Exclamation, Title);
            showPageOf(field);
            field->setFocus();
            field->selectAll();
            return false;
        }
    }
    return true;
}

bool frmOptions::Apply()
{
    if (!checkNumberFields()) {
        return false;
    }
    // A history size still being typed counts as it will once the field is left.
    txthistory->interpretText();

    ProgramOptions &o = m_services.options;
    const int startup = optStartGroup->checkedId();
    if (startup >= 0) {
        o.StartupType = static_cast<qint16>(startup);
    }
    o.ViewSplash = chkSplash->isChecked();
    o.ViewTips = chkTips->isChecked();
    o.ViewWizard = chkWizard->isChecked();
    o.AutoLoadWin = chkAutoLoadWin->isChecked();
    o.AutoSaveWin = chkAutoSaveWin->isChecked();
    o.AutoSaveData = chkAutoSaveData->isChecked();
    o.AutoLoadData = chkAutoLoadData->isChecked();
    o.AutoCheck = chkExpire->isChecked();
    o.GTSAfterURL = chkURLTray->isChecked();
    o.ViewMenuIcon = chkViewIcon->isChecked();
    o.ShowNotes = chkNotes->isChecked();
    o.ShowCatSub = chkTV->isChecked();
    o.ViewFileName = chkFileName->isChecked();

    // A list that shows nothing (a stored value it does not offer) leaves
    // its option as it was: the user has not chosen anything there.
    o.SysTrayDef = options::selectedChoice(*cbSystray).value_or(o.SysTrayDef);
    o.SysTrayPWDefault = options::selectedChoice(*cbSystray2).value_or(o.SysTrayPWDefault);
    o.DefaultGridAction = options::selectedChoice(*cbAction).value_or(o.DefaultGridAction);
    o.KeyBeforeCB = options::selectedChoice(*cbBefore).value_or(o.KeyBeforeCB);
    o.KeyAfterCB = options::selectedChoice(*cbAfter).value_or(o.KeyAfterCB);
    o.BackupFile = options::backupFileAt(cbBackup->currentIndex());
    o.BackupHistory = options::backupHistoryAt(cbBackup->currentIndex());

    o.KeyAfter = txtAfter->text();
    o.KeyBefore = txtbefore->text();
    o.HistorySize = static_cast<qint16>(txthistory->value());
    o.ExpirationDays = *options::wholeNumber(txtDExpire->text());
    o.ChangeDays = *options::wholeNumber(txtDChange->text());
    o.ExpirationNotify = *options::wholeNumber(txtNExpire->text());
    o.ChangeNotify = *options::wholeNumber(txtNChange->text());
    clipboard->apply(o);
    fraLock->apply(o);

    SaveOptions(m_services.settings, o, m_programPath);
    return true;
}

void frmOptions::showPageOf(const QWidget *control)
{
    for (int i = 0; i < TabStrip->count(); ++i) {
        if (pict[static_cast<std::size_t>(i)]->isAncestorOf(control)) {
            TabStrip->setCurrentIndex(i);
            return;
        }
    }
}

void frmOptions::TabStrip_Click(int index)
{
    if (index >= 0 && index < TabStrip->count()) {
        pages->setCurrentWidget(pict[static_cast<std::size_t>(index)]);
    }
}

void frmOptions::optStart_Click(int index)
{
    if (index == 3 && !chkAutoLoadData->isChecked()) {
        m_services.prompt.ask(QStringLiteral("You've to check the AutoLoad on Startup to let VLM "
                                             "Automatically load the last opened file."),
                              PromptButtons::Ok, PromptIcon::None, Title);
    }
}

void frmOptions::chkAutoLoadData_Click()
{
    chkWizard->setEnabled(chkAutoLoadData->isChecked());
}

void frmOptions::cmdOK_Click()
{
    if (Apply()) {
        close();
    }
}

void frmOptions::cmdCancel_Click()
{
    close();
}

void frmOptions::cmdApply_Click()
{
    Apply();
}

void frmOptions::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            cmdOK_Click();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            cmdCancel_Click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void frmOptions::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmOptions::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    SavePlacement(*this, Tag, m_services.options, m_services.settings);
    // The options change only what the menus show: no tree or grid rebuild.
    m_services.windows.PopWindow(true, true, 0);
}

namespace dialogs {

QPointer<frmOptions> ShowOptions(const app::Services &services, const QString &programPath)
{
    return app::ShowSelfDeleting(new frmOptions(services, programPath));
}

} // namespace dialogs
