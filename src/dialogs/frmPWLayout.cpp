// Building the record dialog: its controls, their names and layout, and the
// wiring of their events. What the events do is in frmPW.cpp.

#include "DayCounterKeys.h"
#include "frmPW.h"
#include "PasswordGenerator.h"
#include "SecureBytes.h"
#include "UpDown.h"

#include <algorithm>
#include <memory>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// What a user may type into a day counter.
constexpr int CounterLength = 4;

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLineEdit *lineEdit(QWidget *parent, const QString &name)
{
    return named(new QLineEdit(parent), name);
}

// A date field is changed through its counter or its calendar, never typed.
QLineEdit *dateField(QWidget *parent, const QString &name)
{
    QLineEdit *field = lineEdit(parent, name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

QToolButton *dropDownButton(QWidget *parent, const QString &name)
{
    auto *button = named(new QToolButton(parent), name);
    button->setArrowType(Qt::DownArrow);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QStringLiteral("Choose the date on a calendar"));
    return button;
}

QLineEdit *countField(QWidget *parent, const QString &name, int width)
{
    QLineEdit *field = lineEdit(parent, name);
    field->setFixedWidth(width);
    field->setAlignment(Qt::AlignRight);
    return field;
}

} // namespace

void frmPW::buildControls()
{
    setWindowTitle(QStringLiteral("Add Password"));

    sstPassword = named(new QTabWidget(this), QStringLiteral("sstPassword"));
    const std::array<QWidget *, 4> pages{buildGeneralPage(), buildUrlPage(), buildExpirationPage(),
                                         buildNotesPage()};
    const std::array<QString, 4> captions{QStringLiteral("General"), QStringLiteral("URL"),
                                          QStringLiteral("Expiration"), QStringLiteral("Notes")};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Pict.at(i) = named(pages.at(i), QStringLiteral("Pict%1").arg(i));
        sstPassword->addTab(pages.at(i), captions.at(i));
    }

    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cmdCancel"));
    cmdAnother =
        named(new QPushButton(QStringLiteral("Add Another"), this), QStringLiteral("cmdAnother"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdAnother);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sstPassword);
    layout->addLayout(buttons);

    // Tab from the last field of a page goes to the buttons.
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cmdAnother);
    // Room for a link or a long service name without scrolling the field.
    setMinimumWidth(440);
}

QWidget *frmPW::buildGeneralPage()
{
    auto *page = new QWidget;

    frData = named(new QGroupBox(QStringLiteral("Password Data"), page), QStringLiteral("frData"));
    txtService = lineEdit(frData, QStringLiteral("txtService"));
    txtName = lineEdit(frData, QStringLiteral("txtName"));
    txtPw = lineEdit(frData, QStringLiteral("txtPw"));
    lblInsert = named(new QLabel(frData), QStringLiteral("lblInsert"));
    lblModif = named(new QLabel(frData), QStringLiteral("lblModif"));
    auto *fields = new QFormLayout(frData);
    fields->addRow(QStringLiteral("Service Name:"), txtService);
    fields->addRow(QStringLiteral("User Name:"), txtName);
    fields->addRow(QStringLiteral("Password:"), txtPw);
    fields->addRow(lblInsert);
    fields->addRow(lblModif);

    frCategory = named(new QGroupBox(QStringLiteral("Category Selection"), page),
                       QStringLiteral("frCategory"));
    cboCateg = named(new QComboBox(frCategory), QStringLiteral("cboCateg"));
    cboSCateg = named(new QComboBox(frCategory), QStringLiteral("cboSCateg"));
    auto *category = new QFormLayout(frCategory);
    category->addRow(QStringLiteral("Category:"), cboCateg);
    category->addRow(QStringLiteral("Sub-Category:"), cboSCateg);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(frData);
    layout->addWidget(frCategory);
    layout->addStretch();
    return page;
}

QWidget *frmPW::buildUrlPage()
{
    auto *page = new QWidget;
    // In the order of the fields' indexes; the record keeps the change link
    // in ChangeURL and the delete link in ExpURL.
    const std::array<QString, 3> captions{QStringLiteral("URL or Shortcut to Program"),
                                          QStringLiteral("URL to Delete Account"),
                                          QStringLiteral("URL to Change Account")};
    auto *layout = new QGridLayout(page);
    for (std::size_t i = 0; i < txtURL.size(); ++i) {
        const int row = static_cast<int>(2 * i);
        txtURL.at(i) = lineEdit(page, QStringLiteral("txtURL%1").arg(i));
        cmdGO.at(i) =
            named(new QPushButton(QStringLiteral("GO"), page), QStringLiteral("cmdGO%1").arg(i));
        cmdGO.at(i)->setFixedWidth(
            cmdGO.at(i)->fontMetrics().horizontalAdvance(QStringLiteral("GO")) + 24);
        auto *label = new QLabel(captions.at(i), page);
        label->setBuddy(txtURL.at(i));
        layout->addWidget(label, row, 0, 1, 2);
        layout->addWidget(txtURL.at(i), row + 1, 0);
        layout->addWidget(cmdGO.at(i), row + 1, 1);
    }
    layout->setRowStretch(static_cast<int>(2 * txtURL.size()), 1);
    return page;
}

QWidget *frmPW::buildExpirationPage()
{
    auto *page = new QWidget;
    const int counterWidth = fontMetrics().horizontalAdvance(QStringLiteral("-00000")) + 12;
    const int dateWidth = fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 24;

    // The two frames are alike; only their controls and captions differ.
    struct Frame
    {
        QCheckBox *&check;
        QGroupBox *&frame;
        QLineEdit *&date;
        QToolButton *&dropDown;
        QLineEdit *&counter;
        dialogs::UpDown *&upDown;
        QCheckBox *&notify;
        QLineEdit *&notice;
        // Object names, in the order of the controls above.
        std::array<const char16_t *, 8> names;
        QString title;
        QString dateCaption;
        QString counterCaption;
    };
    const std::array<Frame, 2> frames{
        Frame{chkExpire,
              frexpire,
              txtExpDate,
              chkDDExpDate,
              txtDExp,
              UpDown1,
              chkNExpire,
              txtNExp,
              {u"chkExpire", u"frexpire", u"txtExpDate", u"chkDDExpDate", u"txtDExp", u"UpDown1",
               u"chkNExpire", u"txtNExp"},
              QStringLiteral("Password Expiration"),
              QStringLiteral("Expiration date"),
              QStringLiteral("Days to expiration")},
        Frame{chkChange,
              frchange,
              TxtChgDate,
              chkDDChgDate,
              txtDChange,
              UpDown2,
              chkNChange,
              txtNChange,
              {u"chkChange", u"frchange", u"TxtChgDate", u"chkDDChgDate", u"txtDChange", u"UpDown2",
               u"chkNChange", u"txtNChange"},
              QStringLiteral("Change Password"),
              QStringLiteral("Changing Date"),
              QStringLiteral("Days to Change")}};

    // The captions of both frames share one width, so their fields line up.
    int captionWidth = 0;
    for (const Frame &f : frames) {
        for (const QString &caption :
             {f.dateCaption, f.counterCaption, QStringLiteral("Notify before")}) {
            captionWidth = std::max(captionWidth, fontMetrics().horizontalAdvance(caption));
        }
    }
    captionWidth += 32;

    auto *layout = new QVBoxLayout(page);
    for (const Frame &f : frames) {
        const auto name = [&f](std::size_t i) { return QString::fromUtf16(f.names.at(i)); };
        // The check box stands for the frame's title and stays outside it, so
        // that unchecking it disables the frame and not itself.
        f.check = named(new QCheckBox(f.title, page), name(0));
        f.frame = named(new QGroupBox(page), name(1));
        f.date = dateField(f.frame, name(2));
        f.date->setFixedWidth(dateWidth);
        f.dropDown = dropDownButton(f.frame, name(3));
        f.counter = countField(f.frame, name(4), counterWidth);
        f.upDown = named(new dialogs::UpDown(f.frame), name(5));
        f.notify = named(new QCheckBox(QStringLiteral("Notify before"), f.frame), name(6));
        f.notice = countField(f.frame, name(7), counterWidth);

        auto *grid = new QGridLayout(f.frame);
        grid->addWidget(new QLabel(f.dateCaption, f.frame), 0, 0);
        auto *dateRow = new QHBoxLayout;
        dateRow->setSpacing(0);
        dateRow->addWidget(f.date);
        dateRow->addWidget(f.dropDown);
        dateRow->addStretch();
        grid->addLayout(dateRow, 0, 1, 1, 2);
        grid->addWidget(new QLabel(f.counterCaption, f.frame), 1, 0);
        auto *counterRow = new QHBoxLayout;
        counterRow->setSpacing(0);
        counterRow->addWidget(f.counter);
        counterRow->addWidget(f.upDown);
        counterRow->addStretch();
        grid->addLayout(counterRow, 1, 1, 1, 2);
        grid->addWidget(f.notify, 2, 0);
        auto *noticeRow = new QHBoxLayout;
        noticeRow->addWidget(f.notice);
        noticeRow->addWidget(new QLabel(QStringLiteral("days"), f.frame));
        noticeRow->addStretch();
        grid->addLayout(noticeRow, 2, 1, 1, 2);
        grid->setColumnStretch(2, 1);
        grid->setColumnMinimumWidth(0, captionWidth);

        layout->addWidget(f.check);
        layout->addWidget(f.frame);
    }
    layout->addStretch();

    UpDown1->setBuddy(txtDExp);
    UpDown2->setBuddy(txtDChange);
    for (dialogs::UpDown *upDown : {UpDown1, UpDown2}) {
        upDown->setRange(-DayCounterRange, DayCounterRange);
    }
    txtDExp->installEventFilter(new dialogs::DayCounterKeys(CounterLength, false, txtDExp));
    txtDChange->installEventFilter(new dialogs::DayCounterKeys(CounterLength, true, txtDChange));
    txtDChange->setValidator(new dialogs::DayCounterValidator(*txtDChange, CounterLength));
    return page;
}

QWidget *frmPW::buildNotesPage()
{
    auto *page = new QWidget;
    txtNotes = named(new QPlainTextEdit(page), QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(txtNotes);
    return page;
}

void frmPW::connectControls()
{
    // The generator sits in the password field's own menu and behind Ctrl+G,
    // so that no control of the dialog is added or moved for it.
    auto *generate = new QAction(QStringLiteral("Generate password"), txtPw);
    generate->setObjectName(QStringLiteral("actGenerate"));
    generate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    generate->setShortcutContext(Qt::WidgetShortcut);
    txtPw->addAction(generate);
    connect(generate, &QAction::triggered, this, [this] {
        // Look-alikes left out: such a password may have to be typed from sight.
        GeneratorOptions options;
        options.excludeSimilar = true;
        QString password = generatePassword(options);
        txtPw->setText(password);
        wipeText(password);
    });
    txtPw->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(txtPw, &QLineEdit::customContextMenuRequested, this, [this, generate](QPoint at) {
        const std::unique_ptr<QMenu> menu(txtPw->createStandardContextMenu());
        menu->addSeparator();
        menu->addAction(generate);
        menu->exec(txtPw->mapToGlobal(at));
    });
    connect(cboCateg, &QComboBox::currentIndexChanged, this, &frmPW::cboCateg_Click);
    connect(txtExpDate, &QLineEdit::textChanged, this,
            [this] { dateChanged(txtExpDate, txtDExp); });
    connect(TxtChgDate, &QLineEdit::textChanged, this,
            [this] { dateChanged(TxtChgDate, txtDChange); });
    connect(txtDExp, &QLineEdit::textChanged, this,
            [this] { counterChanged(txtDExp, txtExpDate); });
    connect(txtDChange, &QLineEdit::textChanged, this,
            [this] { counterChanged(txtDChange, TxtChgDate); });
    connect(chkExpire, &QCheckBox::clicked, this, &frmPW::chkExpire_Click);
    connect(chkChange, &QCheckBox::clicked, this, &frmPW::chkChange_Click);
    connect(chkNExpire, &QCheckBox::clicked, this, &frmPW::chkNExpire_Click);
    connect(chkNChange, &QCheckBox::clicked, this, &frmPW::chkNChange_Click);
    connect(chkDDExpDate, &QToolButton::clicked, this,
            [this] { dropDownClicked(chkDDExpDate, txtExpDate); });
    connect(chkDDChgDate, &QToolButton::clicked, this,
            [this] { dropDownClicked(chkDDChgDate, TxtChgDate); });
    for (std::size_t i = 0; i < cmdGO.size(); ++i) {
        connect(cmdGO.at(i), &QPushButton::clicked, this, [this, i] { cmdGO_Click(i); });
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmPW::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPW::cmdCancel_Click);
    connect(cmdAnother, &QPushButton::clicked, this, &frmPW::cmdAnother_Click);
}
