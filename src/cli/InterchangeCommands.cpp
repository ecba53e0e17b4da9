// export, and import from the files of other password managers and browsers.
#include "CliError.h"
#include "Commands.h"
#include "Interchange.h"
#include "Output.h"
#include "SecureBytes.h"
#include "Session.h"

#include <cstdio>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QLatin1String FormatOption("--format");

QString formatChoice(const QStringList &names)
{
    return names.join(QLatin1String(", "));
}

class WipedRecords
{
public:
    explicit WipedRecords(std::vector<NamedRecord> records) : m_records(std::move(records)) {}
    ~WipedRecords() { interchange::wipeSecrets(m_records); }
    WipedRecords(const WipedRecords &) = delete;
    WipedRecords &operator=(const WipedRecords &) = delete;
    std::vector<NamedRecord> &records() { return m_records; }

private:
    std::vector<NamedRecord> m_records;
};

// Only the owner may read it, from its first byte on: the permissions are set
// before anything is written, and a file replaced with --force gets them too.
void writeClearText(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        throw Failure(QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
    }
}

} // namespace

int runExport(const Invocation &inv)
{
    const auto name = inv.value(FormatOption);
    const auto format = name ? interchange::exportFormat(*name) : std::nullopt;
    if (!format) {
        throw UsageError(QStringLiteral("--format must be one of: %1")
                             .arg(formatChoice(interchange::exportFormatNames())));
    }
    const auto out = inv.value(QLatin1String("-o"));
    if (!out && inv.has(QLatin1String("--force"))) {
        throw UsageError(QStringLiteral("--force needs -o"));
    }
    // A typo in OUT must not cost the user another file.
    if (out && QFileInfo::exists(*out) && !inv.has(QLatin1String("--force"))) {
        throw Failure(QStringLiteral("%1 already exists; --force replaces it.").arg(*out));
    }
    Session session(inv);
    session.open(inv.args.at(0));
    WipedRecords records(interchange::storeRecords(session.store()));
    QByteArray text = interchange::writeRecords(*format, records.records());
    const WipeOnExit wipe(text);
    if (out) {
        writeClearText(*out, text);
    } else {
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    }
    printError(QStringLiteral("vellumor-cli: the export is not encrypted: whoever can read it "
                              "can read every password. Delete it when it has served."));
    return 0;
}

int runImport(const Invocation &inv)
{
    Session session(inv);
    const QString &source = inv.args.at(1);
    const auto name = inv.value(FormatOption);
    if (!name) {
        // Another Vellumor file: its categories and subcategories.
        session.open(inv.args.at(0));
        const Secret password = session.otherFilePassword(source);
        session.check(session.store().ImportFile(source, password.text()));
        session.saveIfModified();
        return 0;
    }
    const auto format = interchange::importFormat(*name);
    if (!format) {
        throw UsageError(QStringLiteral("--format must be one of: %1")
                             .arg(formatChoice(interchange::importFormatNames())));
    }
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(QStringLiteral("%1 could not be read: %2").arg(source, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    const WipeOnExit wipe(bytes);
    file.close();
    interchange::ImportResult read = interchange::readRecords(*format, bytes);
    WipedRecords records(std::move(read.records));
    if (read.error) {
        throw Failure(QStringLiteral("%1: %2").arg(source, read.error->message));
    }
    session.open(inv.args.at(0));
    MergeResult result;
    session.check(session.store().MergeRecords(std::move(records.records()), result));
    session.saveIfModified();
    printLine(QStringLiteral("%1 added, %2 renamed, %3 skipped")
                  .arg(result.added)
                  .arg(result.renamed)
                  .arg(result.skipped + result.unnamed + read.skipped));
    if (result.unnamed + read.skipped > 0) {
        printError(QStringLiteral("vellumor-cli: %1 left out: %2 without a name, %3 that are "
                                  "no logins or were deleted")
                       .arg(result.unnamed + read.skipped)
                       .arg(result.unnamed)
                       .arg(read.skipped));
    }
    return 0;
}
