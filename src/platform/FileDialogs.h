#pragma once

#include <deque>
#include <optional>
#include <QList>
#include <QString>

class QFileDialog;
class QWidget;

namespace platform {

// What a file dialog is opened with. The filter is in the "Name |*.ext"
// form of the password-file dialogs; several pairs may follow each other.
struct FileDialogRequest
{
    enum class Mode
    {
        Open,
        Save
    };
    Mode mode = Mode::Open;
    QString title;
    QString filter;
    QString defaultSuffix;
    QString initialFolder;
    bool overwritePrompt = false; // save: ask before replacing a file
    bool createPrompt = false;    // open: a missing name may be typed (it is created later)

    friend bool operator==(const FileDialogRequest &, const FileDialogRequest &) = default;
};

// Qt's name filters ("Name (*.ext)") for a "Name |*.ext|Other |*.x" filter.
QStringList nameFilters(const QString &filter);

// Every stand-alone file dialog of the program goes through here, so tests can
// answer it with a file name as they answer message boxes.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nullopt when the user cancelled.
    virtual std::optional<QString> choose(const FileDialogRequest &request, QWidget *owner) = 0;
};

// Sets up a QFileDialog from a request; also used for the dialog hosted in a page.
void configure(QFileDialog &dialog, const FileDialogRequest &request);

// The real thing: a modal QFileDialog.
class QtFileDialogs : public FileDialogs
{
public:
    std::optional<QString> choose(const FileDialogRequest &request, QWidget *owner) override;
};

// For tests: records every request and gives the queued answers in turn;
// with none queued it cancels and counts that as unplanned.
class ScriptedFileDialogs : public FileDialogs
{
public:
    std::optional<QString> choose(const FileDialogRequest &request, QWidget *owner) override;
    void queue(const std::optional<QString> &answer)
    {
        m_answers.push_back({answer.has_value(), answer.value_or(QString())});
    }

    QList<FileDialogRequest> asked;
    int unplanned = 0;

private:
    // Kept apart from std::optional: GCC's optimiser reports a false
    // "maybe uninitialized" when an optional<QString> is moved out of a deque.
    struct Answer
    {
        bool chosen = false;
        QString path;
    };
    std::deque<Answer> m_answers;
};

} // namespace platform
