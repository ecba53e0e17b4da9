#pragma once

#include <QGroupBox>

class QCheckBox;
class QSpinBox;
struct ProgramOptions;

// The options dialog's frame for locking the open file: after a time without
// use, and when the desktop session locks.
class LockOptionsGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit LockOptionsGroup(QWidget *parent = nullptr);

    void load(const ProgramOptions &options);
    void apply(ProgramOptions &options) const;

    QSpinBox *spnLockMinutes = nullptr;
    QCheckBox *chkLockSession = nullptr;
};
