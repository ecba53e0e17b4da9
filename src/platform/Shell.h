#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Opens a link the way the desktop opens it: web and mail addresses and
// documents with their handler, programs by starting them.
class Shell
{
public:
    virtual ~Shell() = default;
    // False when nothing could be opened.
    virtual bool open(const QString &target) = 0;
};

class DesktopShell final : public Shell
{
public:
    bool open(const QString &target) override;

    enum class Kind
    {
        Url,
        Program,
        Document,
    };
    // How a text is opened: something with a scheme is a URL, an executable file
    // a program, any other existing file a document, the rest a web address.
    static Kind classify(const QString &target);
};

// Remembers what it was asked to open and answers with opens: the test back end.
class RecordingShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        opened.append(target);
        return opens;
    }
    QStringList opened;
    bool opens = true;
};

} // namespace platform
