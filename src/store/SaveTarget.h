#pragma once

#include <functional>
#include <memory>
#include <QIODevice>
#include <QString>

// One attempt to replace a file: bytes go to device(); only commit() makes them
// the file's content. Dropping the target without commit leaves the old file.
class SaveTarget
{
public:
    virtual ~SaveTarget() = default;
    virtual bool open() = 0;
    virtual QIODevice &device() = 0;
    virtual bool commit() = 0;
    virtual QString errorString() const = 0;
};

using SaveTargetFactory = std::function<std::unique_ptr<SaveTarget>(const QString &path)>;

// The real thing: QSaveFile (temporary file, flush, rename), owner-only permissions.
std::unique_ptr<SaveTarget> makeFileSaveTarget(const QString &path);
