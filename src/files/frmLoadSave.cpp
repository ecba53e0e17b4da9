#include "frmLoadSave.h"

#include "DialogSupport.h"
#include "FileRoutines.h"
#include "Grid.h"
#include "Placement.h"
#include "ResourceImages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString PageNew = QStringLiteral("NEW");
const QString PageExisting = QStringLiteral("LOAD");
const QString PageRecent = QStringLiteral("RECENT");

bool inWindow(const QObject *object, const QWidget *window)
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget != nullptr && widget->window() == window;
}

} // namespace

frmLoadSave::frmLoadSave(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Open"));
    setWindowModality(Qt::ApplicationModal);

    TabMain = new QTabBar(this);
    TabMain->setObjectName(QStringLiteral("TabMain"));
    TabMain->setExpanding(false);

    grdNew = new controls::Grid(this);
    grdNew->setObjectName(QStringLiteral("grdNew"));
    grdNew->addColumn(QStringLiteral("FileType"), QStringLiteral("File Type"), 256);
    cmdNewOpen = new QPushButton(QStringLiteral("&New"), this);
    cmdNewOpen->setObjectName(QStringLiteral("cmdNewOpen"));
    CmdNewCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    CmdNewCancel->setObjectName(QStringLiteral("CmdNewCancel"));

    grdRecent = new controls::Grid(this);
    grdRecent->setObjectName(QStringLiteral("grdRecent"));
    grdRecent->addColumn(QStringLiteral("FileName"), QStringLiteral("FileName"), 96);
    grdRecent->addColumn(QStringLiteral("Path"), QStringLiteral("Path"), 200);

    m_Controls = new QWidget(this);
    m_Controls->setObjectName(QStringLiteral("m_Controls"));
    auto *hostLayout = new QVBoxLayout(m_Controls);
    hostLayout->setContentsMargins(0, 0, 0, 0);

    auto *newButtons = new QHBoxLayout;
    newButtons->addStretch();
    newButtons->addWidget(cmdNewOpen);
    newButtons->addWidget(CmdNewCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TabMain);
    layout->addWidget(grdNew, 1);
    layout->addLayout(newButtons);
    layout->addWidget(grdRecent, 1);
    layout->addWidget(m_Controls);
    resize(620, 420);

    tmrUnload.setSingleShot(true);
    tmrUnload.setInterval(0);
    connect(&tmrUnload, &QTimer::timeout, this, &QWidget::close);
    connect(cmdNewOpen, &QPushButton::clicked, this, &frmLoadSave::chooseNew);
    connect(CmdNewCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(grdNew, &controls::Grid::doubleClicked, this, [this](int row, int) {
        if (row > 0) {
            chooseNew();
        }
    });
    connect(grdRecent, &controls::Grid::selectionChanged, this, &frmLoadSave::recentSelected);
    connect(grdRecent, &controls::Grid::doubleClicked, this, [this](int row, int) {
        if (QPushButton *ok = dialogOkButton(); row > 0 && ok != nullptr) {
            ok->click();
        }
    });
}

frmLoadSave::~frmLoadSave()
{
    qApp->removeEventFilter(this);
}

void frmLoadSave::setNewImageList(std::shared_ptr<const controls::ImageList> images)
{
    m_newImages = std::move(images);
    grdNew->setImageList(m_newImages);
}

void frmLoadSave::setExistingImageList(std::shared_ptr<const controls::ImageList> images)
{
    m_existingImages = std::move(images);
    grdRecent->setImageList(m_existingImages);
}

void frmLoadSave::AddNewType(const QString &description, const QString &iconKey)
{
    m_types.append({description, iconKey});
}

void frmLoadSave::AddExistItem(const QString &fileName, const QString &folder,
                               const QDate & /*date*/, const QString & /*iconKey*/)
{
    m_recent.append({fileName, folder});
}

void frmLoadSave::setFileDialog(std::unique_ptr<QFileDialog> dialog)
{
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setWindowFlags(Qt::Widget);
    dialog->setSizeGripEnabled(false);
    m_browserMode = dialog->fileMode();
    m_dialog = dialog.release();
    m_Controls->layout()->addWidget(m_dialog); // the panel owns it from here
    // The browser's own choice, read once it has accepted: its selected-file
    // signals are not sent for every way of choosing (a full path typed in).
    connect(m_dialog, &QDialog::accepted, this,
            [this] { cD_DialogOK(m_dialog->selectedFiles().value(0)); });
    connect(m_dialog, &QDialog::rejected, this, &QWidget::close);
    connect(m_dialog, &QFileDialog::directoryEntered, this, &frmLoadSave::cD_FolderChange);
    // Hooked once the browser is in: Tab and Enter are watched for our own pages.
    qApp->installEventFilter(this);
}

QPushButton *frmLoadSave::dialogOkButton() const
{
    auto *box = m_dialog != nullptr ? m_dialog->findChild<QDialogButtonBox *>() : nullptr;
    return box != nullptr ? box->button(QDialogButtonBox::Open) != nullptr
                                ? box->button(QDialogButtonBox::Open)
                                : box->button(QDialogButtonBox::Save)
                          : nullptr;
}

QPushButton *frmLoadSave::dialogCancelButton() const
{
    auto *box = m_dialog != nullptr ? m_dialog->findChild<QDialogButtonBox *>() : nullptr;
    return box != nullptr ? box->button(QDialogButtonBox::Cancel) : nullptr;
}

QString frmLoadSave::currentPage() const
{
    return m_page;
}

void frmLoadSave::selectPage(const QString &key)
{
    for (int i = 0; i < TabMain->count(); ++i) {
        if (TabMain->tabData(i).toString() == key) {
            TabMain->setCurrentIndex(i);
            return;
        }
    }
}

void frmLoadSave::load()
{
    m_cancelled = true;
    if (m_showNew) {
        TabMain->setTabData(TabMain->addTab(QStringLiteral("New")), PageNew);
    }
    TabMain->setTabData(TabMain->addTab(QStringLiteral("Existing")), PageExisting);
    TabMain->setTabData(TabMain->addTab(QStringLiteral("Recent")), PageRecent);

    grdRecent->setRedraw(false);
    for (const RecentEntry &entry : m_recent) {
        const int row = grdRecent->addRow();
        grdRecent->setCellText(row, 1, entry.fileName);
        grdRecent->setCellText(row, 2, entry.folder);
        grdRecent->setCellImage(
            row, 1, m_existingImages ? m_existingImages->index(QStringLiteral("VLM")) : 0);
    }
    grdRecent->setRedraw(true);
    if (grdRecent->rowCount() > 0) {
        grdRecent->setSelectedRow(1);
    }
    if (m_showNew) {
        const int size = m_newImages ? m_newImages->size() : 16;
        grdNew->setDefaultRowHeight(qMax(size + 4, grdNew->defaultRowHeight()));
        for (const files::NewType &type : m_types) {
            const int row = grdNew->addRow();
            grdNew->setCellText(row, 1, type.description);
            grdNew->setCellImage(row, 1, m_newImages ? m_newImages->index(type.iconKey) : 0);
        }
        if (grdNew->rowCount() > 0) {
            grdNew->setSelectedRow(1);
        }
    }

    // Every page starts hidden; entering one shows what it needs.
    grdNew->hide();
    cmdNewOpen->hide();
    CmdNewCancel->hide();
    grdRecent->hide();
    setBrowserVisible(false, false);
    connect(TabMain, &QTabBar::currentChanged, this, &frmLoadSave::pageChanged);
    m_loaded = true;
    if (m_showNew) {
        pageChanged(TabMain->currentIndex());
    } else {
        // Through "Existing" first, so the browser is set up, then on to "Recent".
        pageChanged(TabMain->currentIndex());
        selectPage(PageRecent);
    }
}

void frmLoadSave::setBrowserVisible(bool controls, bool buttons)
{
    if (m_dialog == nullptr) {
        return;
    }
    auto *box = m_dialog->findChild<QDialogButtonBox *>();
    for (QObject *child : m_dialog->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget != nullptr && widget != box && !widget->isWindow()) {
            widget->setVisible(controls);
        }
    }
    if (box != nullptr) {
        box->setVisible(buttons);
    }
    // An empty Recent page hides OK by itself; showing the box again would
    // not bring back a button hidden on its own.
    if (QPushButton *ok = dialogOkButton()) {
        ok->setVisible(buttons);
    }
    m_Controls->setVisible(controls || buttons);
}

void frmLoadSave::pageChanged(int index)
{
    if (!m_loaded) {
        return;
    }
    if (!m_page.isEmpty()) {
        leavePage(m_page);
    }
    m_page = TabMain->tabData(index).toString();
    enterPage(m_page);
}

void frmLoadSave::leavePage(const QString &key)
{
    if (key == PageExisting) {
        if (auto *name = m_dialog != nullptr
                             ? m_dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                             : nullptr) {
            m_typedName = name->text();
        }
        setBrowserVisible(false, false);
    } else if (key == PageRecent) {
        grdRecent->hide();
        setBrowserVisible(false, false);
        if (m_dialog != nullptr) {
            m_dialog->setFileMode(m_browserMode);
        }
    } else if (key == PageNew) {
        grdNew->hide();
        cmdNewOpen->hide();
        CmdNewCancel->hide();
        m_isNew = false;
    }
}

void frmLoadSave::enterPage(const QString &key)
{
    auto *name = m_dialog != nullptr
                     ? m_dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                     : nullptr;
    if (key == PageNew) {
        grdNew->show();
        cmdNewOpen->show();
        CmdNewCancel->show();
        setBrowserVisible(false, false);
        m_isNew = true;
    } else if (key == PageExisting) {
        setBrowserVisible(true, true);
        if (name != nullptr) {
            name->setText(m_typedName);
        }
        // The browser shows its first folder here; Qt reports only later moves.
        cD_FolderChange();
    } else if (key == PageRecent) {
        grdRecent->show();
        setBrowserVisible(false, true);
        // A recent file that has gone is still handed on, so the open reports
        // why it cannot be opened as it does for any file; a browser that
        // insists on existing files would only grey out OK.
        if (m_dialog != nullptr) {
            m_dialog->setFileMode(QFileDialog::AnyFile);
        }
        if (grdRecent->rowCount() == 0) {
            if (QPushButton *ok = dialogOkButton()) {
                ok->hide();
            }
            m_filename.clear();
        } else {
            recentSelected(grdRecent->selectedRow());
        }
    }
}

QString frmLoadSave::recentPath(int row) const
{
    if (row < 1 || row > m_recent.size()) {
        return QString();
    }
    const RecentEntry &entry = m_recent.at(row - 1);
    return files::joinPath(entry.folder, entry.fileName);
}

void frmLoadSave::recentSelected(int row)
{
    if (row < 1 || !m_loaded) {
        return;
    }
    m_filename = recentPath(row);
    if (m_dialog == nullptr) {
        return;
    }
    if (auto *name = m_dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
        name->setText(m_filename);
    }
    // The browser prefers what is selected in its views over the typed name,
    // and typing selects look-alikes there: the path in the field must win.
    for (auto *view : m_dialog->findChildren<QAbstractItemView *>()) {
        const QString name = view->objectName();
        if ((name == QStringLiteral("listView") || name == QStringLiteral("treeView")) &&
            view->selectionModel() != nullptr) {
            view->selectionModel()->clearSelection();
        }
    }
}

void frmLoadSave::chooseNew()
{
    const int row = grdNew->selectedRow();
    if (row < 1) {
        return;
    }
    m_filename = grdNew->cellText(row, 1);
    m_cancelled = false;
    close();
}

void frmLoadSave::cD_DialogOK(const QString &file)
{
    m_cancelled = false;
    m_filename = file;
    // Closed on the next turn: the browser is still inside its own accept.
    tmrUnload.start();
}

void frmLoadSave::cD_FolderChange()
{
    if (m_folderSeen || m_dialog == nullptr) {
        return;
    }
    m_folderSeen = true;
    if (m_showNew) {
        // The file list is whichever of the browser's two views it shows.
        for (const char *view : {"listView", "treeView"}) {
            auto *list = m_dialog->findChild<QWidget *>(QString::fromLatin1(view));
            if (list != nullptr && list->isVisibleTo(m_dialog)) {
                list->setFocus();
            }
        }
    } else {
        m_Controls->setFocus();
    }
    m_Controls->raise();
}

QList<QWidget *> frmLoadSave::focusCycle() const
{
    if (m_page == PageNew) {
        return {TabMain, grdNew, cmdNewOpen, CmdNewCancel};
    }
    if (m_page == PageRecent) {
        return {TabMain, grdRecent, dialogOkButton(), dialogCancelButton()};
    }
    return {};
}

void frmLoadSave::moveFocus(int step)
{
    QList<QWidget *> cycle;
    for (QWidget *w : focusCycle()) {
        if (w != nullptr && w->isVisible() && w->isEnabled()) {
            cycle.append(w);
        }
    }
    if (cycle.isEmpty()) {
        return;
    }
    qsizetype at = -1;
    const QWidget *focused = QApplication::focusWidget();
    for (qsizetype i = 0; i < cycle.size(); ++i) {
        const QWidget *w = cycle.at(i);
        if (focused == w || (focused != nullptr && w->isAncestorOf(focused)) ||
            (focused != nullptr && w->focusProxy() == focused)) {
            at = i;
        }
    }
    const qsizetype next =
        at < 0 ? (step > 0 ? 0 : cycle.size() - 1) : (at + step + cycle.size()) % cycle.size();
    cycle.at(next)->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void frmLoadSave::SetForwardFocus()
{
    moveFocus(1);
}

void frmLoadSave::SetBackwardFocus()
{
    moveFocus(-1);
}

bool frmLoadSave::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !inWindow(watched, this)) {
        return QWidget::eventFilter(watched, event);
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (tab && !ctrl && (m_page == PageNew || m_page == PageRecent)) {
        const bool back =
            key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
        back ? SetBackwardFocus() : SetForwardFocus();
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && m_page == PageNew) {
        const int row = grdNew->selectedRow();
        if (row > 0 && !grdNew->cellText(row, 1).isEmpty()) {
            chooseNew();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmLoadSave::showAndWait()
{
    load();
    show();
    raise();
    activateWindow();
    QEventLoop wait;
    m_wait = &wait;
    if (isVisible()) {
        wait.exec();
    }
    m_wait = nullptr;
}

void frmLoadSave::closeEvent(QCloseEvent *event)
{
    if (m_dialog != nullptr && m_dialog->isVisible()) {
        // The browser is let go without a choice of its own.
        const QSignalBlocker quiet(m_dialog);
        m_dialog->reject();
    }
    qApp->removeEventFilter(this);
    event->accept();
    if (m_wait != nullptr) {
        m_wait->quit();
    }
}

namespace files {

OpenDialogResult LoadSaveDialogHost::showOpenDialog(const OpenDialogRequest &request,
                                                    QWidget *owner)
{
    frmLoadSave dialog(owner);
    dialog.setShowNew(request.showNew);
    if (dialog.ShowNew()) {
        for (const NewType &type : request.newTypes) {
            dialog.AddNewType(type.description, type.iconKey);
        }
        dialog.setNewImageList(controls::resource_images::imageList(106));
    }
    dialog.setExistingImageList(controls::resource_images::imageList(107));
    for (const RecentItem &item : request.recent) {
        dialog.AddExistItem(item.fileName, item.folder, item.date, item.iconKey);
    }
    auto browser = std::make_unique<QFileDialog>();
    platform::configure(*browser, request.fileDialog);
    dialog.setFileDialog(std::move(browser));
    // Over the main window, not the owner, which may be another dialog.
    app::RestoreDialogPlacement(m_services, dialog, frmLoadSave::Tag);
    dialog.showAndWait();
    SavePlacement(dialog, frmLoadSave::Tag, m_services.options, m_services.settings);
    return {dialog.Cancelled(), dialog.IsNew(), dialog.Filename()};
}

} // namespace files
