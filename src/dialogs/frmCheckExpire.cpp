#include "frmCheckExpire.h"

#include "DialogSupport.h"
#include "Expiration.h"
#include "Grid.h"
#include "PasswordStore.h"

#include <algorithm>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using platform::PromptButtons;
using platform::PromptIcon;

namespace {

const QString Title = QStringLiteral("VLM");

// Windows RGB values, as the grid takes them.
constexpr int Red = 0x0000FF;
constexpr int Green = 0x00FF00;

constexpr int ServiceWidth = 150;
constexpr int DateWidth = 100;
constexpr int StatusWidth = 160;
// The columns as defined, and what the window needs around them (frame,
// margins, a vertical scroll bar) to show them without a horizontal one.
constexpr int ColumnsWidth = ServiceWidth + 2 * DateWidth + StatusWidth;
constexpr int Chrome = 50;
// Room a cell leaves beside its text.
constexpr int CellPadding = 16;

const QString ServiceKey = QStringLiteral("Service");
const QString ExpDateKey = QStringLiteral("ExpDate");
const QString ChangeDateKey = QStringLiteral("ChangeDate");
const QString StatusKey = QStringLiteral("Status");

controls::GridColumnDefinition column(const QString &key, const QString &header, int width)
{
    controls::GridColumnDefinition definition;
    definition.key = key;
    definition.header = header;
    definition.width = width;
    return definition;
}

controls::GridColumnDefinition dateColumn(const QString &key, const QString &header)
{
    controls::GridColumnDefinition definition = column(key, header, DateWidth);
    definition.format = QStringLiteral("dd/mm/yyyy");
    definition.sortCode = controls::SortDate;
    return definition;
}

} // namespace

frmCheckExpire::frmCheckExpire(const app::Services &services, dialogs::EditPassword editPassword,
                               QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services), m_editPassword(std::move(editPassword))
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Check Expiration/Change"));

    grid = new controls::Grid(this);
    grid->setObjectName(QStringLiteral("grid"));
    cmdEdit = new QPushButton(QStringLiteral("Edit"), this);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    cmdcancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdcancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    layout->addLayout(buttons);

    SetupExpirationGrid();
    resize(ColumnsWidth + Chrome, 300);

    connect(cmdEdit, &QPushButton::clicked, this, &frmCheckExpire::cmdEdit_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frmCheckExpire::cmdcancel_Click);
    connect(grid, &controls::Grid::doubleClicked, this, &frmCheckExpire::cmdEdit_Click);
    connect(grid, &controls::Grid::headerClicked, this, &frmCheckExpire::grid_HeaderClick);
    connect(grid, &controls::Grid::keyDown, this, &frmCheckExpire::grid_KeyDown);
}

frmCheckExpire::~frmCheckExpire()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

void frmCheckExpire::SetupExpirationGrid()
{
    controls::GridColumnDefinition service =
        column(ServiceKey, QStringLiteral("Service"), ServiceWidth);
    service.fixedWidth = true;
    grid->addColumn(service);
    grid->addColumn(dateColumn(ExpDateKey, QStringLiteral("Exp. Date")));
    grid->addColumn(dateColumn(ChangeDateKey, QStringLiteral("Chg. Date")));
    grid->addColumn(column(StatusKey, QStringLiteral("Status"), StatusWidth));
    grid->setDefaultRowHeight(16);
}

void frmCheckExpire::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_services.windows.PushWindow(this);
    app::RestoreDialogPlacement(m_services, *this, Tag);
}

void frmCheckExpire::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    // A window that was never shown has no placement worth keeping.
    app::UnloadStackedDialog(m_services, *this, Tag, true, false, 0);
}

bool frmCheckExpire::FillExpirationList()
{
    grid->setRedraw(false);
    grid->clearRows();
    if (const PasswordStore *store = m_services.state.Store.get()) {
        const int serviceColumn = grid->columnIndex(ServiceKey);
        const int expColumn = grid->columnIndex(ExpDateKey);
        const int changeColumn = grid->columnIndex(ChangeDateKey);
        const int statusColumn = grid->columnIndex(StatusKey);
        for (const DueItem &item : DueList(*store, m_services.clock.today())) {
            const int row = grid->addRow();
            const int colour = item.overdue() ? Red : Green;
            grid->setCellText(row, serviceColumn, item.service);

            const int partColumn =
                item.part == DueItem::Part::Expiration ? expColumn : changeColumn;
            grid->setCellDate(row, partColumn, item.date);
            controls::CellDetails date = grid->cellDetails(row, partColumn);
            date.foreColour = colour;
            grid->setCellDetails(row, partColumn, date);

            controls::CellDetails status;
            status.text = item.message;
            status.foreColour = colour;
            grid->setCellDetails(row, statusColumn, status);
        }
    }
    const bool any = grid->rowCount() > 0;
    grid->setRedraw(true);
    fitStatusColumn();
    return any;
}

void frmCheckExpire::fitStatusColumn()
{
    // The status is what the list is read for: its column grows to the
    // longest message (dates in a long local format do not fit 160 pixels),
    // and the window with it, as far as the screen allows.
    const int statusColumn = grid->columnIndex(StatusKey);
    const QFontMetrics metrics = grid->fontMetrics();
    int widest = StatusWidth;
    for (int row = 1; row <= grid->rowCount(); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(grid->cellText(row, statusColumn)) +
                                      CellPadding);
    }
    grid->setColumnWidth(statusColumn, widest);

    int columns = 0;
    for (int column = 1; column <= grid->columnCount(); ++column) {
        columns += grid->columnWidth(column);
    }
    const QScreen *shown = screen();
    const int room = shown != nullptr ? shown->availableGeometry().width() : columns + Chrome;
    const int wanted = std::min(columns + Chrome, room);
    if (width() < wanted) {
        resize(wanted, height());
    }
}

bool frmCheckExpire::View_Expires()
{
    Form_Load();
    if (FillExpirationList()) {
        show();
        raise();
        activateWindow();
        grid->setFocus();
        return true;
    }
    m_services.prompt.ask(QStringLiteral("No password in expiration/changing!"), PromptButtons::Ok,
                          PromptIcon::None, QString());
    close();
    return false;
}

void frmCheckExpire::cmdEdit_Click()
{
    const int row = grid->selectedRow();
    if (row == 0) {
        m_services.prompt.ask(QStringLiteral("You must select a service before trying to edit!"),
                              PromptButtons::Ok, PromptIcon::Exclamation, Title);
        return;
    }
    const QString service = grid->cellText(row, grid->columnIndex(ServiceKey));
    // The list is filled once: a record renamed or deleted since then is
    // still shown under its old name, and there is nothing to open.
    const PasswordStore *store = m_services.state.Store.get();
    if (store == nullptr || !store->Passwords().Contains(service)) {
        m_services.prompt.ask(
            QStringLiteral("The service \"%1\" is no longer in the file!").arg(service),
            PromptButtons::Ok, PromptIcon::Exclamation, Title);
        return;
    }
    if (m_editPassword) {
        m_editPassword(service);
    }
}

void frmCheckExpire::cmdcancel_Click()
{
    close();
}

void frmCheckExpire::grid_HeaderClick(int column)
{
    // A second click on the sorted column turns its order round.
    const int order = grid->columnSortOrder(column) == controls::SortAscending
                          ? controls::SortDescending
                          : controls::SortAscending;
    grid->clearSortKeys();
    grid->addSortKey(column, order, grid->columnSortCode(column));
    grid->sort();
}

void frmCheckExpire::grid_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        cmdEdit_Click();
    }
}

void frmCheckExpire::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdcancel_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmCheckExpire::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace dialogs {

QPointer<frmCheckExpire> CheckExpiration(const app::Services &services, EditPassword editPassword)
{
    auto *window = new frmCheckExpire(services, std::move(editPassword));
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmCheckExpire> shown(window);
    window->View_Expires();
    return shown;
}

} // namespace dialogs
