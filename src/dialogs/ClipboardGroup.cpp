#include "ClipboardGroup.h"

#include "ProgramOptions.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace options {

ClipboardGroup::ClipboardGroup(QWidget *parent) : QGroupBox(QStringLiteral("Clipboard"), parent)
{
    setObjectName(QStringLiteral("frClipboard"));
    txtClipboardClear = new QSpinBox(this);
    txtClipboardClear->setObjectName(QStringLiteral("txtClipboardClear"));
    txtClipboardClear->setRange(0, ProgramOptions::ClipboardClearMost);

    auto *caption = new QLabel(QStringLiteral("Clear a copied password after"), this);
    caption->setBuddy(txtClipboardClear);
    auto *layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0);
    layout->addWidget(txtClipboardClear, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("seconds"), this), 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("(0: when Vellumor ends)"), this), 1, 0, 1, 3);
    layout->setColumnStretch(3, 1);
}

void ClipboardGroup::load(const ProgramOptions &options)
{
    txtClipboardClear->setValue(options.ClipboardClearSeconds);
}

void ClipboardGroup::apply(ProgramOptions &options)
{
    // A number still being typed counts as it will once the field is left.
    txtClipboardClear->interpretText();
    options.ClipboardClearSeconds = static_cast<qint16>(txtClipboardClear->value());
}

} // namespace options
