// Every dialog of the folder through the one life check, once per way it closes.

#include "DialogFixture.h"

class TestDialogClosing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closing_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("how");
        const std::pair<const char *, QStringList> paths[] = {
            {"frmCategory", {"cmdOK", "esc", "enter:cmdOK", "close", "destroy"}},
            {"frmSubCategory", {"cmdOK", "esc", "enter:cmdOK", "close"}},
            {"frmChangeCat", {"cmdOK", "cmdCancel", "esc", "enter", "close"}},
            {"frmCheckExpire", {"cmdcancel", "esc", "close"}},
            {"frmOptions", {"cmdOK", "cmdCancel", "esc", "enter", "close", "destroy"}},
            {"frmPW", {"cmdOK", "cmdCancel", "esc", "close", "destroy"}},
            {"frmCalendar", {"esc", "close"}}};
        for (const auto &[dialog, hows] : paths) {
            for (const QString &how : hows) {
                QTest::addRow("%s %s", dialog, qPrintable(how)) << QString(dialog) << how;
            }
        }
    }

    void closing()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, how);
        Fixture f;
        const app::Services &s = f.t.services;
        f.add(dated("due", -1)); // for the expiration list
        // The change-category dialog is modal, as ChangeCat shows it; the calendar a popup.
        const auto offStack = [&f, &s](bool modal) -> QWidget * {
            QWidget *shown = modal ? new frmChangeCat(s, &f.main.widget)
                                   : static_cast<QWidget *>(new frmCalendar(&f.main.widget));
            shown->setAttribute(Qt::WA_DeleteOnClose);
            shown->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
            shown->show();
            return shown;
        };
        const std::map<QString, std::function<QWidget *()>> open = {
            {"frmCategory", [&s] { return dialogs::ShowCategoryEditor(s).data(); }},
            {"frmSubCategory", [&s] { return dialogs::ShowSubCategoryEditor(s).data(); }},
            {"frmChangeCat", [&offStack] { return offStack(true); }},
            {"frmCheckExpire", [&s] { return dialogs::CheckExpiration(s, {}).data(); }},
            {"frmOptions", [&s] { return dialogs::ShowOptions(s, {}).data(); }},
            {"frmPW", [&s] { return dialogs::ShowPasswordEdit(s, {}, -7, "gmail").data(); }},
            {"frmCalendar", [&offStack] { return offStack(false); }}};
        DialogRow row{open.at(dialog), how};
        row.stacked = row.refresh = dialog != "frmChangeCat" && dialog != "frmCalendar";
        row.menuOnly = dialog == "frmOptions";
        row.value = dialog == "frmPW" ? -7 : 0;
        row.placement = dialog != "frmCalendar";
        checkDialog(f.t, f.main.widget, row);
    }
};

QTEST_MAIN(TestDialogClosing)
#include "test_dialog_closing.moc"
