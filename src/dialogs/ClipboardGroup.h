#pragma once

#include <QGroupBox>

class QSpinBox;
struct ProgramOptions;

namespace options {

// The options window's frame for the clipboard: how long a copied password
// stays there. Read from and written to the options with the other fields.
class ClipboardGroup final : public QGroupBox
{
public:
    explicit ClipboardGroup(QWidget *parent = nullptr);

    void load(const ProgramOptions &options);
    void apply(ProgramOptions &options);

    // Seconds, 0 for as long as the program runs.
    QSpinBox *txtClipboardClear = nullptr;
};

} // namespace options
