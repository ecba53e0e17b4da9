#include "frmTray.h"

#include "FileLock.h"
#include "FileRoutines.h"
#include "frmSysTray.h"
#include "PasswordStore.h"
#include "ResourceImages.h"
#include "StartUp.h"
#include "TransferRoutines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHash>

frmTray::frmTray(const app::Services &services, const WindowRoutines &routines, QWidget *parent)
    : QWidget(parent), m_services(services), m_routines(routines)
{
    setObjectName(QStringLiteral("frmTray"));
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && m_marked) {
                    m_services.windows.RaiseAll();
                }
            });
}

frmTray::~frmTray()
{
    removeIcon();
}

void frmTray::Load()
{
    showIcon();
    m_marked = true;
    m_services.state.FirstStart = false;
}

void frmTray::showIcon()
{
    if (m_sysTray != nullptr) {
        return;
    }
    m_sysTray = std::make_unique<frmSysTray>();
    m_sysTray->Initialise(QApplication::windowIcon(), this);
    connect(m_sysTray.get(), &frmSysTray::SysTrayMouseDown, this, [this](int button) {
        if (button == 2 && m_menuEnabled) {
            // The menu takes the keyboard: a Send chosen from it types into
            // the window the user was working in.
            m_routines.transfer.RememberTarget();
            m_sysTray->ShowMenu();
        }
    });
    connect(m_sysTray.get(), &frmSysTray::SysTrayDoubleClick, this,
            [this](int) { OpenMainWindow(); });
    connect(m_sysTray.get(), &frmSysTray::MenuClick, this,
            [this](int, const QString &key) { MenuClick(key); });
    UpdateView(0);
    m_sysTray->setIconHandle(QApplication::windowIcon());
    m_menuEnabled = true;
}

void frmTray::removeIcon()
{
    m_images.reset();
    if (m_sysTray != nullptr) {
        // Mostly called from inside the icon's own click (the menu's Open, a
        // double click): it disappears now and is deleted once that has returned.
        m_sysTray->icon()->hide();
        m_sysTray.release()->deleteLater();
    }
}

void frmTray::UpdateView(qint32 /*value*/)
{
    if (m_sysTray == nullptr) {
        return;
    }
    const ProgramOptions &options = m_services.options;
    if (options.ViewMenuIcon && m_images == nullptr) {
        m_images = controls::resource_images::imageList(105);
    } else if (!options.ViewMenuIcon) {
        m_images.reset();
    }
    frmSysTray &tray = *m_sysTray;
    tray.ClearMenu();
    tray.setImageList(m_images);
    const auto image = [&options](const char16_t *key) {
        return options.ViewMenuIcon ? QString::fromUtf16(key) : QString();
    };
    if (m_services.state.Locked()) {
        buildLockedMenu();
        return;
    }

    const PasswordStore &store = *m_services.state.Store;
    // One pass over each collection: the subcategories grouped under their
    // category first, so a file with thousands of both costs no product of them.
    QHash<qint16, QList<const SubCategory *>> subCategoriesOf;
    for (const SubCategory &sub : store.SubCategories()) {
        subCategoriesOf[sub.codcat].append(&sub);
    }
    const QString folderImage = image(u"CFOLDER");
    const QString serviceImage = image(u"PW");
    QHash<qint16, int> categoryItems;
    QHash<qint16, int> subCategoryItems;
    for (const Category &category : store.Categories()) {
        const int item = tray.AddMenuItem(category.DescrCat,
                                          QStringLiteral("cat") + QString::number(category.codcat),
                                          false, 0, 0, folderImage, false, false);
        categoryItems.insert(category.codcat, item);
        for (const SubCategory *sub : subCategoriesOf.value(category.codcat)) {
            subCategoryItems.insert(
                sub->CodSCat,
                tray.AddMenuItem(sub->DescrSCat,
                                 QStringLiteral("scat") + QString::number(sub->CodSCat), false, 0,
                                 item, folderImage, false, false));
        }
    }
    for (const PasswordEntry &entry : store.Passwords()) {
        const int sub = subCategoryItems.value(entry.CodSCat, 0);
        const int parent = sub != 0 ? sub : categoryItems.value(entry.codcat, 0);
        tray.AddMenuItem(entry.service, QStringLiteral("srv") + entry.service, false, 0, parent,
                         serviceImage, false, true);
        if (parent != 0) {
            tray.EnableMenuItem(parent, true);
        }
        if (sub != 0) {
            tray.EnableMenuItem(categoryItems.value(entry.codcat, 0), true);
        }
    }
    if (store.Passwords().Count() > 0) {
        tray.AddMenuItem(QStringLiteral("-"), QString(), false, 0, 0, QString(), false, true);
    }
    if (!store.FileName().isEmpty()) {
        const bool addDefault = options.SysTrayDef == 2;
        const int add = tray.AddMenuItem(QStringLiteral("&Add"), QStringLiteral("add"), false, 0, 0,
                                         QString(), false, true);
        tray.AddMenuItem(QStringLiteral("&Password"), QStringLiteral("addpw"), addDefault, 0, add,
                         image(u"PADD"), false, true);
        tray.AddMenuItem(QStringLiteral("&Category"), QStringLiteral("addcat"), addDefault, 0, add,
                         QString(), false, true);
        tray.AddMenuItem(QStringLiteral("&SubCategory"), QStringLiteral("addscat"), addDefault, 0,
                         add, QString(), false, true);
    }
    tray.AddMenuItem(QStringLiteral("&Open VLM"), QStringLiteral("open"), options.SysTrayDef == 1,
                     0, 0, image(u"VLM"), false, true);
    tray.AddMenuItem(QStringLiteral("&Program Option"), QStringLiteral("option"), false, 0, 0,
                     image(u"CONFIG"), false, true);
    tray.AddMenuItem(QStringLiteral("-"), QString(), false, 0, 0, QString(), false, true);
    tray.AddMenuItem(QStringLiteral("&Email Me"), QStringLiteral("email"), false, 0, 0,
                     image(u"MAIL"), false, true);
    tray.AddMenuItem(QStringLiteral("&Vlm Homepage"), QStringLiteral("home"), false, 0, 0,
                     image(u"WEB"), false, true);
    tray.AddMenuItem(QStringLiteral("&About..."), QStringLiteral("about"), false, 0, 0,
                     image(u"HELP"), false, true);
    tray.AddMenuItem(QStringLiteral("-"), QString(), false, 0, 0, QString(), false, true);
    tray.AddMenuItem(QStringLiteral("&Exit VLM"), QStringLiteral("close"), false, 0, 0, QString(),
                     false, true);
    tray.setToolTip(QStringLiteral("Vellumor!"));
}

// A locked file offers nothing of its own: one item to unlock it, and the way out.
void frmTray::buildLockedMenu()
{
    frmSysTray &tray = *m_sysTray;
    const QString image = m_services.options.ViewMenuIcon ? QStringLiteral("VLM") : QString();
    tray.AddMenuItem(QStringLiteral("&Unlock ") + QFileInfo(m_services.state.LockedFile).fileName(),
                     QStringLiteral("unlock"), true, 0, 0, image, false, true);
    tray.AddMenuItem(QStringLiteral("-"), QString(), false, 0, 0, QString(), false, true);
    tray.AddMenuItem(QStringLiteral("&Exit VLM"), QStringLiteral("close"), false, 0, 0, QString(),
                     false, true);
    ShowStatusNote(QFileInfo(m_services.state.LockedFile).fileName() +
                   files::FileLock::LockedSuffix);
}

void frmTray::ShowStatusNote(const QString &note)
{
    if (m_sysTray != nullptr) {
        m_sysTray->setToolTip(QStringLiteral("Vellumor! ") + note);
    }
}

void frmTray::MenuClick(const QString &key)
{
    const ShowWindows &windows = m_routines.windows;
    if (key == QStringLiteral("unlock")) {
        if (m_routines.lock != nullptr) {
            m_routines.lock->Unlock();
        }
    } else if (key == QStringLiteral("open")) {
        OpenMainWindow();
    } else if (key == QStringLiteral("close")) {
        close();
    } else if (key == QStringLiteral("about")) {
        windows.ShowAbout();
    } else if (key == QStringLiteral("option")) {
        windows.ShowOptions();
    } else if (key == QStringLiteral("addpw")) {
        windows.ShowAddPassword(0, 0, 0);
    } else if (key == QStringLiteral("addcat")) {
        windows.ShowCategoryEditor();
    } else if (key == QStringLiteral("addscat")) {
        windows.ShowSubCategoryEditor();
    } else if (key == QStringLiteral("home")) {
        m_routines.transfer.OpenURL(app::HomePage);
    } else if (key == QStringLiteral("email")) {
        m_routines.transfer.OpenURL(app::MailAddress);
    } else if (key.startsWith(QStringLiteral("srv"))) {
        serviceAction(key.mid(3));
    }
}

void frmTray::serviceAction(const QString &service)
{
    const transfer::TransferRoutines &transfer = m_routines.transfer;
    switch (m_services.options.SysTrayPWDefault) {
    case 1:
        m_routines.windows.ShowEditPassword(service, 0);
        break;
    case 2:
        transfer.CopyPassword(service);
        break;
    case 3:
        transfer.CopyUserPassword(service);
        break;
    case 4:
        transfer.CopyURL(service);
        break;
    case 5:
        transfer.SendPassword(service);
        break;
    case 6:
        transfer.SendUserPassword(service);
        break;
    case 7:
        m_routines.windows.ExecuteUrlThenTray(m_services.state.Store->GetField(4, service));
        break;
    default:
        break;
    }
}

void frmTray::OpenMainWindow()
{
    if (!m_menuEnabled) {
        return;
    }
    m_services.state.TrayMode = false;
    m_services.state.requestSwitch();
    close();
}

void frmTray::HandOver(const QByteArray &payload)
{
    m_routines.files.ReceiveHandOver(this, payload);
}

void frmTray::closeEvent(QCloseEvent *event)
{
    app::RunState &state = m_services.state;
    if (!state.SwitchWindow() && !m_routines.files.ConfirmExit()) {
        event->ignore();
        return;
    }
    removeIcon();
    m_marked = false;
    if (!state.SwitchWindow()) {
        state.requestExit();
    }
    event->accept();
}
