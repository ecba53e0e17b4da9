#include "Prompt.h"

#include <QMessageBox>

namespace platform {

namespace {

QMessageBox::Icon toIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

PromptAnswer MessageBoxPrompt::ask(const PromptRequest &request)
{
    QMessageBox box(toIcon(request.icon), request.title.isEmpty() ? m_defaultTitle : request.title,
                    request.text, toButtons(request.buttons), m_parent);
    // Message texts carry carriage returns as line breaks.
    box.setText(QString(request.text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        // Closing a box that has a Cancel button means Cancel; an OK-only box
        // or a Yes/No box closed by Esc answers its first button or No.
        if (request.buttons == PromptButtons::OkCancel ||
            request.buttons == PromptButtons::YesNoCancel) {
            return PromptAnswer::Cancel;
        }
        return request.buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
}

PromptAnswer ScriptedPrompt::ask(const PromptRequest &request)
{
    asked.append(request);
    if (m_answers.empty()) {
        ++unplanned;
        return request.buttons == PromptButtons::YesNo ||
                       request.buttons == PromptButtons::YesNoCancel
                   ? PromptAnswer::Yes
                   : PromptAnswer::Ok;
    }
    const PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace platform
