#include "FileDialogs.h"

#include <QFileDialog>

namespace platform {

QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts.at(i).trimmed();
        const QString patterns =
            parts.at(i + 1).trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!patterns.isEmpty()) {
            filters.append(name.isEmpty()
                               ? patterns
                               : name + QLatin1String(" (") + patterns + QLatin1Char(')'));
        }
    }
    return filters;
}

void configure(QFileDialog &dialog, const FileDialogRequest &request)
{
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || request.createPrompt ? QFileDialog::AnyFile
                                                    : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (!request.title.isEmpty()) {
        dialog.setWindowTitle(request.title);
    }
    dialog.setNameFilters(nameFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialFolder.isEmpty()) {
        dialog.setDirectory(request.initialFolder);
    }
}

std::optional<QString> QtFileDialogs::choose(const FileDialogRequest &request, QWidget *owner)
{
    QFileDialog dialog(owner);
    configure(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> ScriptedFileDialogs::choose(const FileDialogRequest &request,
                                                   QWidget * /*owner*/)
{
    asked.append(request);
    if (m_answers.empty()) {
        ++unplanned;
        return std::nullopt;
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    if (!answer.chosen) {
        return std::nullopt;
    }
    return answer.path;
}

} // namespace platform
