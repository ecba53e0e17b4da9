#pragma once

#include <deque>
#include <QList>
#include <QString>

class QWidget;

namespace platform {

enum class PromptIcon
{
    None,
    Critical,
    Question,
    Exclamation,
    Information,
};

enum class PromptButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

enum class PromptAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
};

// One message box: what it says and offers. An empty title means the
// application's default title.
struct PromptRequest
{
    QString text;
    QString title;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;

    friend bool operator==(const PromptRequest &, const PromptRequest &) = default;
};

// Every message box of the program goes through here, so tests can read what
// was asked and answer it.
class Prompt
{
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const PromptRequest &request) = 0;

    PromptAnswer ask(const QString &text, PromptButtons buttons, PromptIcon icon,
                     const QString &title)
    {
        return ask(PromptRequest{text, title, icon, buttons});
    }
};

// The real thing: a modal QMessageBox.
class MessageBoxPrompt : public Prompt
{
public:
    explicit MessageBoxPrompt(QString defaultTitle) : m_defaultTitle(std::move(defaultTitle)) {}
    using Prompt::ask;
    PromptAnswer ask(const PromptRequest &request) override;
    // The window the boxes are shown over; nullptr for none.
    void setParentWindow(QWidget *parent) { m_parent = parent; }

private:
    QString m_defaultTitle;
    QWidget *m_parent = nullptr;
};

// For tests: records every request and gives the queued answers in turn; with
// none queued it answers the first button (OK or Yes) and counts that as unplanned.
class ScriptedPrompt : public Prompt
{
public:
    using Prompt::ask;
    PromptAnswer ask(const PromptRequest &request) override;
    void queue(PromptAnswer answer) { m_answers.push_back(answer); }

    QList<PromptRequest> asked;
    int unplanned = 0;

private:
    std::deque<PromptAnswer> m_answers;
};

} // namespace platform
