#pragma once

#include "OpenDialog.h"
#include "Services.h"

#include <memory>
#include <QFileDialog>
#include <QList>
#include <QTimer>
#include <QWidget>

class QEventLoop;
class QPushButton;
class QTabBar;

namespace controls {
class Grid;
class ImageList;
} // namespace controls

// The window in which the user picks the file to work with: a new file of a
// type ("New"), an existing one found in the hosted file browser
// ("Existing"), or a recently used one ("Recent"). The caller prepares it,
// shows it and, once it has closed, reads Cancelled, IsNew and Filename.
class frmLoadSave : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmLoadSave");

    explicit frmLoadSave(QWidget *parent = nullptr);
    ~frmLoadSave() override;

    bool ShowNew() const { return m_showNew; }
    void setShowNew(bool showNew) { m_showNew = showNew; }
    bool IsNew() const { return m_isNew; }
    bool Cancelled() const { return m_cancelled; }
    QString Filename() const { return m_filename; }
    void setNewImageList(std::shared_ptr<const controls::ImageList> images);
    void setExistingImageList(std::shared_ptr<const controls::ImageList> images);

    void AddNewType(const QString &description, const QString &iconKey);
    void AddExistItem(const QString &fileName, const QString &folder, const QDate &date,
                      const QString &iconKey);
    // Takes the file browser for the "Existing" page, configured by the caller.
    void setFileDialog(std::unique_ptr<QFileDialog> dialog);

    // Loads and shows the window, and returns once it has closed.
    void showAndWait();

    // The page keys: "NEW", "LOAD", "RECENT".
    QString currentPage() const;
    void selectPage(const QString &key);

    controls::Grid *grdNew = nullptr;
    controls::Grid *grdRecent = nullptr;
    QTabBar *TabMain = nullptr;
    QPushButton *cmdNewOpen = nullptr;
    QPushButton *CmdNewCancel = nullptr;
    QWidget *m_Controls = nullptr;
    QFileDialog *fileDialog() const { return m_dialog; }
    QPushButton *dialogOkButton() const;
    QPushButton *dialogCancelButton() const;

    void SetForwardFocus();
    void SetBackwardFocus();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void pageChanged(int index);
    void leavePage(const QString &key);
    void enterPage(const QString &key);
    void setBrowserVisible(bool controls, bool buttons);
    void recentSelected(int row);
    void chooseNew();
    void cD_DialogOK(const QString &file);
    void cD_FolderChange();
    void moveFocus(int step);
    QList<QWidget *> focusCycle() const;
    QString recentPath(int row) const;

    struct RecentEntry
    {
        QString fileName;
        QString folder;
    };

    bool m_showNew = false;
    bool m_isNew = false;
    bool m_cancelled = true;
    bool m_loaded = false;
    bool m_folderSeen = false;
    QString m_filename;
    QString m_page;
    QString m_typedName;
    QList<files::NewType> m_types;
    QList<RecentEntry> m_recent;
    std::shared_ptr<const controls::ImageList> m_newImages;
    std::shared_ptr<const controls::ImageList> m_existingImages;
    QFileDialog *m_dialog = nullptr; // owned by m_Controls once hosted
    QFileDialog::FileMode m_browserMode = QFileDialog::ExistingFile; // as the caller set it
    QTimer tmrUnload;
    QEventLoop *m_wait = nullptr;
};

namespace files {

// The New/Open dialog of the file routines: a fresh frmLoadSave per use.
class LoadSaveDialogHost final : public OpenDialogHost
{
public:
    explicit LoadSaveDialogHost(const app::Services &services) : m_services(services) {}
    OpenDialogResult showOpenDialog(const OpenDialogRequest &request, QWidget *owner) override;

private:
    const app::Services &m_services;
};

} // namespace files
