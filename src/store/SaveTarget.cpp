#include "SaveTarget.h"

#include <QFileDevice>
#include <QSaveFile>

namespace {

class FileSaveTarget final : public SaveTarget
{
public:
    explicit FileSaveTarget(const QString &path) : m_file(path) {}

    bool open() override
    {
        // Unbuffered: a full device must fail the write itself. A buffered
        // write fails only in the flush inside commit(), which still renames
        // the short file over the real one.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return false;
        }
        // The temporary file is ours alone from the first byte on.
        return m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QIODevice &device() override { return m_file; }
    bool commit() override { return m_file.commit(); }
    QString errorString() const override { return m_file.errorString(); }

private:
    QSaveFile m_file;
};

} // namespace

std::unique_ptr<SaveTarget> makeFileSaveTarget(const QString &path)
{
    return std::make_unique<FileSaveTarget>(path);
}
