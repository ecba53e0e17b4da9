#include "LockOptionsGroup.h"

#include "ProgramOptions.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// A day; longer is the same as never for a program left open.
constexpr int MaxMinutes = 1440;

} // namespace

LockOptionsGroup::LockOptionsGroup(QWidget *parent) : QGroupBox(QStringLiteral("Lock"), parent)
{
    setObjectName(QStringLiteral("fraLock"));
    spnLockMinutes = new QSpinBox(this);
    spnLockMinutes->setObjectName(QStringLiteral("spnLockMinutes"));
    spnLockMinutes->setRange(0, MaxMinutes);
    spnLockMinutes->setToolTip(QStringLiteral("0: never"));
    chkLockSession = new QCheckBox(QStringLiteral("Lock when the session locks"), this);
    chkLockSession->setObjectName(QStringLiteral("chkLockSession"));

    // "Lock after N minutes without use", with the spin box in place of N.
    auto *after = new QHBoxLayout;
    auto *before = new QLabel(QStringLiteral("Lock after"), this);
    before->setBuddy(spnLockMinutes);
    after->addWidget(before);
    after->addWidget(spnLockMinutes);
    after->addWidget(new QLabel(QStringLiteral("minutes without use"), this));
    after->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(after);
    layout->addWidget(chkLockSession);
}

void LockOptionsGroup::load(const ProgramOptions &options)
{
    spnLockMinutes->setValue(options.LockAfterMinutes);
    chkLockSession->setChecked(options.LockOnSessionLock);
}

void LockOptionsGroup::apply(ProgramOptions &options) const
{
    spnLockMinutes->interpretText();
    options.LockAfterMinutes = static_cast<qint16>(spnLockMinutes->value());
    options.LockOnSessionLock = chkLockSession->isChecked();
}
