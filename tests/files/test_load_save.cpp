// The New/Open dialog driven as a user would: its pages with and without
// "New", the Recent list and its paths, the typed name kept across pages,
// the choices and their results, the deferred close after the browser's OK,
// and the Tab cycle on the pages of our own.

#include "frmLoadSave.h"
#include "Grid.h"
#include "ResourceImages.h"
#include "TestServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Step = std::function<void(frmLoadSave &)>;

void whileShown(frmLoadSave &dialog, QList<Step> steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps]() mutable {
        if (steps.isEmpty()) {
            return;
        }
        const Step step = steps.takeFirst();
        step(dialog);
        whileShown(dialog, steps);
    });
}

void prepare(frmLoadSave &dialog, bool showNew, const QList<std::pair<QString, QString>> &recent,
             const QString &folder)
{
    dialog.setShowNew(showNew);
    if (showNew) {
        dialog.AddNewType(QStringLiteral("Vellumor File"), QStringLiteral("VLM"));
        dialog.setNewImageList(controls::resource_images::imageList(106));
    }
    dialog.setExistingImageList(controls::resource_images::imageList(107));
    for (const auto &[name, in] : recent) {
        dialog.AddExistItem(name, in, QDate(2000, 1, 1), QStringLiteral("VLM"));
    }
    auto browser = std::make_unique<QFileDialog>();
    platform::FileDialogRequest request;
    request.filter = QStringLiteral("Vellumor |*.VLM");
    request.defaultSuffix = QStringLiteral("VLM");
    request.initialFolder = folder;
    platform::configure(*browser, request);
    dialog.setFileDialog(std::move(browser));
}

QStringList tabs(const frmLoadSave &dialog)
{
    QStringList texts;
    for (int i = 0; i < dialog.TabMain->count(); ++i) {
        texts << dialog.TabMain->tabText(i);
    }
    return texts;
}

QLineEdit *nameField(const frmLoadSave &dialog)
{
    return dialog.fileDialog()->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

} // namespace

class TestLoadSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void withoutNewOpensOnRecent();
    void emptyRecentHidesOk();
    void recentFolderEndingInSeparator();
    void typedNameSurvivesPageChanges();
    void closeBoxLeavesCancelled();
    void newPageChoices_data();
    void newPageChoices();
    void recentDoubleClickOpens();
    void existingPageBrowserChoice();
    void tabCyclesOnOwnPages();
    void centredOverMainWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLoadSave::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *name : {"Home.VLM", "Work.VLM"}) {
        QFile file(m_dir->filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

void TestLoadSave::withoutNewOpensOnRecent()
{
    frmLoadSave dialog;
    prepare(dialog, false, {{"Work.VLM", m_dir->path()}, {"Home.VLM", m_dir->path()}},
            m_dir->path());
    QStringList shownTabs;
    QString page, filename, fieldText;
    bool newButtonsHidden = false;
    bool okShown = false;
    whileShown(dialog, {[&](frmLoadSave &d) {
                   shownTabs = tabs(d);
                   page = d.currentPage();
                   filename = d.Filename();
                   fieldText = nameField(d)->text();
                   newButtonsHidden = !d.cmdNewOpen->isVisible() && !d.CmdNewCancel->isVisible();
                   okShown = d.dialogOkButton()->isVisible();
                   // Selecting the second row puts its path in both places.
                   d.grdRecent->setSelectedRow(2);
                   QCOMPARE(d.Filename(), m_dir->filePath(QStringLiteral("Home.VLM")));
                   QCOMPARE(nameField(d)->text(), m_dir->filePath(QStringLiteral("Home.VLM")));
                   d.close();
               }});
    dialog.showAndWait();
    QCOMPARE(shownTabs, (QStringList{"Existing", "Recent"}));
    QCOMPARE(page, QStringLiteral("RECENT"));
    QCOMPARE(filename, m_dir->filePath(QStringLiteral("Work.VLM")));
    QCOMPARE(fieldText, filename);
    QVERIFY(newButtonsHidden);
    QVERIFY(okShown);
    QVERIFY(dialog.Cancelled());
    QVERIFY(!dialog.IsNew());
}

void TestLoadSave::emptyRecentHidesOk()
{
    frmLoadSave dialog;
    prepare(dialog, true, {}, m_dir->path());
    bool okHidden = false;
    bool cancelShown = false;
    bool okBackOnExisting = false;
    QString filename = QStringLiteral("unset");
    whileShown(dialog, {[&](frmLoadSave &d) { d.selectPage(QStringLiteral("RECENT")); },
                        [&](frmLoadSave &d) {
                            okHidden = !d.dialogOkButton()->isVisible();
                            cancelShown = d.dialogCancelButton()->isVisible();
                            filename = d.Filename();
                            QCOMPARE(d.grdRecent->rowCount(), 0);
                            d.selectPage(QStringLiteral("LOAD"));
                        },
                        [&](frmLoadSave &d) {
                            okBackOnExisting = d.dialogOkButton()->isVisible();
                            d.close();
                        }});
    dialog.showAndWait();
    QVERIFY(okHidden);
    QVERIFY(cancelShown);
    QCOMPARE(filename, QString());
    QVERIFY(okBackOnExisting);
}

void TestLoadSave::recentFolderEndingInSeparator()
{
    frmLoadSave dialog;
    prepare(dialog, false, {{"Work.VLM", m_dir->path() + QLatin1Char('/')}}, m_dir->path());
    QString filename;
    whileShown(dialog, {[&](frmLoadSave &d) {
                   filename = d.Filename();
                   d.close();
               }});
    dialog.showAndWait();
    QCOMPARE(filename, m_dir->filePath(QStringLiteral("Work.VLM")));
}

void TestLoadSave::typedNameSurvivesPageChanges()
{
    frmLoadSave dialog;
    prepare(dialog, true, {{"Work.VLM", m_dir->path()}}, m_dir->path());
    QString onRecent, backOnExisting;
    bool browserHiddenOnRecent = false;
    QWidget *focusedOnFirstShow = nullptr;
    whileShown(dialog, {[](frmLoadSave &d) { d.selectPage(QStringLiteral("LOAD")); },
                        [&](frmLoadSave &d) {
                            // The browser's first folder puts the focus in its file list.
                            focusedOnFirstShow = d.focusWidget();
                            QTest::keyClicks(nameField(d), QStringLiteral("typed-by-hand"));
                            d.selectPage(QStringLiteral("RECENT"));
                        },
                        [&](frmLoadSave &d) {
                            onRecent = nameField(d)->text();
                            browserHiddenOnRecent = !nameField(d)->isVisible();
                            d.selectPage(QStringLiteral("LOAD"));
                        },
                        [&](frmLoadSave &d) {
                            backOnExisting = nameField(d)->text();
                            d.close();
                        }});
    dialog.showAndWait();
    QCOMPARE(onRecent, m_dir->filePath(QStringLiteral("Work.VLM")));
    QVERIFY(browserHiddenOnRecent);
    QCOMPARE(backOnExisting, QStringLiteral("typed-by-hand"));
    const bool detailed = dialog.fileDialog()->viewMode() == QFileDialog::Detail;
    QCOMPARE(focusedOnFirstShow,
             dialog.fileDialog()->findChild<QWidget *>(detailed ? QStringLiteral("treeView")
                                                                : QStringLiteral("listView")));
    QVERIFY(dialog.Cancelled());
}

void TestLoadSave::closeBoxLeavesCancelled()
{
    frmLoadSave dialog;
    prepare(dialog, true, {{"Work.VLM", m_dir->path()}}, m_dir->path());
    whileShown(dialog, {[](frmLoadSave &d) { d.selectPage(QStringLiteral("LOAD")); },
                        [](frmLoadSave &d) { d.fileDialog()->setDirectory(QDir::tempPath()); },
                        [](frmLoadSave &d) { d.close(); }});
    dialog.showAndWait();
    QVERIFY(dialog.Cancelled());
    QVERIFY(!dialog.isVisible());
}

void TestLoadSave::newPageChoices_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("New button") << "button" << false;
    QTest::newRow("Enter") << "enter" << false;
    QTest::newRow("double click") << "double" << false;
    QTest::newRow("Cancel button") << "cancel" << true;
}

void TestLoadSave::newPageChoices()
{
    QFETCH(QString, how);
    QFETCH(bool, cancelled);
    frmLoadSave dialog;
    prepare(dialog, true, {{"Work.VLM", m_dir->path()}}, m_dir->path());
    QStringList shownTabs;
    bool startedNew = false;
    whileShown(dialog, {[&](frmLoadSave &d) {
                   shownTabs = tabs(d);
                   startedNew = d.currentPage() == QStringLiteral("NEW") && d.IsNew() &&
                                d.grdNew->selectedRow() == 1 && d.cmdNewOpen->isVisible() &&
                                !d.dialogOkButton()->isVisible();
                   if (how == QStringLiteral("button")) {
                       QTest::mouseClick(d.cmdNewOpen, Qt::LeftButton);
                   } else if (how == QStringLiteral("enter")) {
                       d.grdNew->setFocus();
                       QTest::keyClick(d.grdNew->viewport(), Qt::Key_Return);
                   } else if (how == QStringLiteral("double")) {
                       const QPoint at = d.grdNew->cellRect(1, 1).center();
                       QTest::mouseDClick(d.grdNew->viewport(), Qt::LeftButton, {}, at);
                   } else {
                       QTest::mouseClick(d.CmdNewCancel, Qt::LeftButton);
                   }
               }});
    dialog.showAndWait();
    QCOMPARE(shownTabs, (QStringList{"New", "Existing", "Recent"}));
    QVERIFY(startedNew);
    QCOMPARE(dialog.Cancelled(), cancelled);
    QVERIFY(dialog.IsNew());
    QCOMPARE(dialog.Filename(), cancelled ? QString() : QStringLiteral("Vellumor File"));
}

void TestLoadSave::recentDoubleClickOpens()
{
    frmLoadSave dialog;
    // A file that has gone is handed on all the same; opening it says why it fails.
    prepare(dialog, false, {{"Work.VLM", m_dir->path()}, {"Gone.VLM", m_dir->path()}},
            m_dir->path());
    bool stillOpenInsideTheChoice = false;
    whileShown(dialog, {[&](frmLoadSave &d) {
                            const QPoint at = d.grdRecent->cellRect(2, 1).center();
                            QTest::mouseClick(d.grdRecent->viewport(), Qt::LeftButton, {}, at);
                            QTest::mouseDClick(d.grdRecent->viewport(), Qt::LeftButton, {}, at);
                            // The window goes on the next turn, not inside the browser's OK.
                            stillOpenInsideTheChoice = d.isVisible() && !d.Cancelled();
                        },
                        [](frmLoadSave &d) { d.close(); }}); // when the choice went nowhere
    dialog.showAndWait();
    QVERIFY(stillOpenInsideTheChoice);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.Cancelled());
    QVERIFY(!dialog.IsNew());
    QCOMPARE(dialog.Filename(), m_dir->filePath(QStringLiteral("Gone.VLM")));
}

void TestLoadSave::existingPageBrowserChoice()
{
    frmLoadSave dialog;
    prepare(dialog, true, {}, m_dir->path());
    whileShown(dialog, {[](frmLoadSave &d) { d.selectPage(QStringLiteral("LOAD")); },
                        [](frmLoadSave &d) {
                            QTest::keyClicks(nameField(d), QStringLiteral("Work.VLM"));
                            QTest::mouseClick(d.dialogOkButton(), Qt::LeftButton);
                        }});
    dialog.showAndWait();
    QVERIFY(!dialog.Cancelled());
    QVERIFY(!dialog.IsNew());
    QCOMPARE(dialog.Filename(), m_dir->filePath(QStringLiteral("Work.VLM")));
}

void TestLoadSave::tabCyclesOnOwnPages()
{
    frmLoadSave dialog;
    prepare(dialog, true, {{"Work.VLM", m_dir->path()}}, m_dir->path());
    QStringList onNew, onRecent;
    const auto focusName = [] {
        QWidget *w = QApplication::focusWidget();
        while (w != nullptr && w->objectName().isEmpty()) {
            w = w->parentWidget();
        }
        return w != nullptr ? w->objectName() : QStringLiteral("<none>");
    };
    whileShown(dialog, {[&](frmLoadSave &d) {
                            d.activateWindow();
                            QVERIFY(QTest::qWaitForWindowActive(&d));
                            d.TabMain->setFocus();
                            QCOMPARE(QApplication::focusWidget(), d.TabMain);
                            for (int i = 0; i < 4; ++i) {
                                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                onNew << focusName();
                            }
                            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                                            Qt::ShiftModifier);
                            onNew << focusName();
                            d.selectPage(QStringLiteral("RECENT"));
                        },
                        [&](frmLoadSave &d) {
                            d.TabMain->setFocus();
                            for (int i = 0; i < 3; ++i) {
                                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                onRecent << (QApplication::focusWidget() == d.dialogOkButton()
                                                 ? QStringLiteral("OK")
                                             : QApplication::focusWidget() == d.dialogCancelButton()
                                                 ? QStringLiteral("Cancel")
                                                 : focusName());
                            }
                            d.close();
                        }});
    dialog.showAndWait();
    QCOMPARE(onNew,
             (QStringList{"grdNew", "cmdNewOpen", "CmdNewCancel", "TabMain", "CmdNewCancel"}));
    QCOMPARE(onRecent, (QStringList{"grdRecent", "OK", "Cancel"}));
}

void TestLoadSave::centredOverMainWindow()
{
    TestServices t;
    t.options.AutoLoadWin = false;
    t.options.AutoSaveWin = false;
    WidgetMainWindow main;
    main.widget.setGeometry(300, 200, 700, 500);
    main.widget.show();
    t.state.setCurrentMainWindow(&main);
    QWidget owner; // another dialog, elsewhere on the screen
    owner.setGeometry(0, 0, 200, 100);
    owner.show();
    QPoint centre;
    QTimer::singleShot(0, [&centre] {
        if (auto *dialog = qobject_cast<frmLoadSave *>(QApplication::activeModalWidget())) {
            centre = dialog->frameGeometry().center();
            dialog->close();
        }
    });
    files::LoadSaveDialogHost host(t.services);
    QVERIFY(host.showOpenDialog({}, &owner).cancelled);
    // Placed before it is shown; its layout may settle a few pixels then.
    const QPoint off = centre - main.widget.frameGeometry().center();
    QVERIFY2(off.manhattanLength() <= 6,
             qPrintable(QStringLiteral("%1, %2").arg(off.x()).arg(off.y())));
}

QTEST_MAIN(TestLoadSave)
#include "test_load_save.moc"
