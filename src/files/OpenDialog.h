#pragma once

#include "FileDialogs.h"

#include <QDate>
#include <QList>
#include <QString>

class QWidget;

namespace files {

// A recently used file as the New/Open dialog lists it.
struct RecentItem
{
    QString fileName;
    QString folder;
    QDate date;
    QString iconKey;

    friend bool operator==(const RecentItem &, const RecentItem &) = default;
};

// A file type offered on the "New" page.
struct NewType
{
    QString description;
    QString iconKey;

    friend bool operator==(const NewType &, const NewType &) = default;
};

// Everything the New/Open dialog is prepared with.
struct OpenDialogRequest
{
    bool showNew = false;
    QList<NewType> newTypes;
    QList<RecentItem> recent;
    platform::FileDialogRequest fileDialog;
};

// What it answers once closed.
struct OpenDialogResult
{
    bool cancelled = true;
    bool isNew = false;
    QString filename;
};

// Shows the New/Open dialog and waits until it has closed; tests answer it.
class OpenDialogHost
{
public:
    virtual ~OpenDialogHost() = default;
    virtual OpenDialogResult showOpenDialog(const OpenDialogRequest &request, QWidget *owner) = 0;
};

// Paths are split and joined at the platform's own separator (and, on
// Windows, at the slash Qt also uses there).
bool isSeparator(QChar c);
// The folder before the last separator and the name after it; false when
// the path has no separator.
bool splitPath(const QString &path, QString &folder, QString &fileName);
// folder + separator (unless folder already ends with one) + fileName.
QString joinPath(const QString &folder, const QString &fileName);

} // namespace files
