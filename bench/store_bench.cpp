// Times the store on generated files of 1,000 to 100,000 records and prints one
// key=value line per size. Each size runs in a child process of its own, and
// its files are written by a further child, so the peak memory reported is the
// one of opening, saving and merging alone.

#include "FileFormat.h"
#include "KeePassXml.h"
#include "Measure.h"
#include "PasswordStore.h"
#include "RecordGenerator.h"

#include <algorithm>
#include <optional>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <vector>

namespace {

using bench::median;
using bench::ms;
using bench::peakRssMiB;
using bench::report;

const QString BenchPassword = QStringLiteral("bench: correct horse battery staple");
const QString BaseFile = QStringLiteral("base.vlm");
const QString OtherFile = QStringLiteral("other.vlm");
const QString SavedFile = QStringLiteral("saved.vlm");
constexpr int MaxRecords = 1'000'000;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Reports an error; false for the callers that answer a bool.
bool complain(const QString &message)
{
    err() << "store_bench: " << message << Qt::endl;
    return false;
}

int fail(const QString &message)
{
    complain(message);
    return 1;
}

QString fixed(double value, int decimals = 2)
{
    return QString::number(value, 'f', decimals);
}

// The budgets that apply to a size; sizes without one report none.
struct Budgets
{
    std::optional<double> openMs;
    std::optional<double> saveMs;
    std::optional<double> peakMiB;
};

Budgets budgetsFor(int records)
{
    if (records == 10'000) {
        return {30.0, 50.0, std::nullopt};
    }
    if (records == 100'000) {
        return {300.0, 500.0, 150.0};
    }
    return {};
}

std::optional<KdfParams> parseKdf(const QString &name)
{
    if (name == QLatin1String("minimum")) {
        return KdfParams::Minimum();
    }
    if (name == QLatin1String("moderate")) {
        return KdfParams::Moderate();
    }
    return std::nullopt;
}

std::optional<int> parseCount(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > MaxRecords) {
        return std::nullopt;
    }
    return n;
}

// Runs this program again with args; its standard output is returned, its
// errors go straight to ours.
bool runSelf(const QStringList &args, QByteArray &output)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(-1)) {
        return complain(
            QStringLiteral("child %1 did not run: %2").arg(args.join(u' '), child.errorString()));
    }
    output = child.readAllStandardOutput();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        return complain(QStringLiteral("child %1 failed").arg(args.join(u' ')));
    }
    return true;
}

bool saveGenerated(const bench::Dataset &content, const KdfParams &kdf, const QString &path)
{
    PasswordStore store;
    QString error;
    if (!bench::populate(store, content, error)) {
        return complain(QStringLiteral("cannot build %1: %2").arg(path, error));
    }
    store.SetKdfParams(kdf);
    store.SetPassword(BenchPassword);
    if (!store.SaveFile(path, false, false)) {
        return complain(store.LastError());
    }
    return true;
}

int prepare(int records, const KdfParams &kdf, const QString &dir)
{
    const bench::Dataset base = bench::generateBase(records);
    const bench::Dataset other = bench::generateOther(base, records);
    const QDir d(dir);
    const bool ok = saveGenerated(base, kdf, d.filePath(BaseFile)) &&
                    saveGenerated(other, kdf, d.filePath(OtherFile));
    return ok ? 0 : 1;
}

struct Repetition
{
    double openMs = 0;
    double kdfMs = 0;
    double saveMs = 0;
    double mergeMs = 0;
    // The process's peak memory once each step is done: shows which step sets it.
    double peakAfterOpenMiB = 0;
    double peakAfterSaveMiB = 0;
};

// Open, modify one record, save, merge the other file: one user session.
bool measureOnce(int records, const QDir &dir, Repetition &rep, MergeResult &merge)
{
    PasswordStore store;
    QElapsedTimer timer;
    timer.start();
    if (!store.OpenFile(dir.filePath(BaseFile), BenchPassword)) {
        return complain(store.LastError());
    }
    const qint64 openNs = timer.nsecsElapsed();
    rep.kdfMs = ms(store.LastKdfNanoseconds());
    rep.openMs = ms(openNs - store.LastKdfNanoseconds());
    rep.peakAfterOpenMiB = peakRssMiB();
    if (store.Passwords().Count() != records) {
        return complain(QStringLiteral("opened %1 records instead of %2")
                            .arg(store.Passwords().Count())
                            .arg(records));
    }

    // A new record rather than an edited one: an edit could hit a record the
    // other file holds unchanged and so alter what the merge below does.
    PasswordEntry added = *store.Passwords().begin();
    added.service = QStringLiteral("added-by-bench.invalid");
    added.Password += QStringLiteral("-new");
    if (!store.AddPassword(added)) {
        return complain(store.LastError());
    }
    timer.restart();
    if (!store.SaveFile(dir.filePath(SavedFile), false, false)) {
        return complain(store.LastError());
    }
    rep.saveMs = ms(timer.nsecsElapsed());
    rep.peakAfterSaveMiB = peakRssMiB();

    timer.restart();
    if (!store.MergeFile(dir.filePath(OtherFile), BenchPassword, merge)) {
        return complain(store.LastError());
    }
    rep.mergeMs = ms(timer.nsecsElapsed() - store.LastKdfNanoseconds());
    return true;
}

int measure(int records, const QString &kdfName, const QString &dataDir)
{
    QTemporaryDir scratch;
    QString dirPath = dataDir;
    if (dirPath.isEmpty()) {
        if (!scratch.isValid()) {
            return fail(QStringLiteral("no temporary folder: %1").arg(scratch.errorString()));
        }
        dirPath = scratch.path();
        QByteArray ignored;
        if (!runSelf({QStringLiteral("--prepare"), QString::number(records),
                      QStringLiteral("--data"), dirPath, QStringLiteral("--kdf"), kdfName},
                     ignored)) {
            return 1;
        }
    }
    const QDir dir(dirPath);
    const int repetitions = records >= 100'000 ? 3 : 5;
    std::vector<double> open, kdf, save, merge;
    MergeResult result;
    Repetition first;
    for (int i = 0; i < repetitions; ++i) {
        Repetition rep;
        if (!measureOnce(records, dir, rep, result)) {
            return 1;
        }
        if (i == 0) {
            first = rep;
        }
        open.push_back(rep.openMs);
        kdf.push_back(rep.kdfMs);
        save.push_back(rep.saveMs);
        merge.push_back(rep.mergeMs);
    }
    // A merge that does something else than expected would time the wrong work.
    const bench::MergeSplit split = bench::mergeSplit(records);
    if (result.added != split.fresh || result.renamed != split.changed ||
        result.skipped != split.identical) {
        return fail(QStringLiteral("merge added %1, renamed %2, skipped %3; expected %4, %5, %6")
                        .arg(result.added)
                        .arg(result.renamed)
                        .arg(result.skipped)
                        .arg(split.fresh)
                        .arg(split.changed)
                        .arg(split.identical));
    }
    const double peak = peakRssMiB();
    if (peak < 0) {
        return fail(QStringLiteral("cannot read the peak memory of the process"));
    }

    const Budgets budget = budgetsFor(records);
    const double openMs = median(open);
    const double saveMs = median(save);
    QStringList line;
    line << QStringLiteral("records=%1").arg(records)
         << QStringLiteral("open_ms=%1").arg(fixed(openMs))
         << QStringLiteral("kdf_ms=%1").arg(fixed(median(kdf)))
         << QStringLiteral("save_ms=%1").arg(fixed(saveMs))
         << QStringLiteral("merge_ms=%1").arg(fixed(median(merge)))
         << QStringLiteral("file_bytes=%1").arg(QFileInfo(dir.filePath(BaseFile)).size())
         << QStringLiteral("peak_rss_mb=%1").arg(fixed(peak, 1))
         << QStringLiteral("peak_after_open_mb=%1").arg(fixed(first.peakAfterOpenMiB, 1))
         << QStringLiteral("peak_after_save_mb=%1").arg(fixed(first.peakAfterSaveMiB, 1));
    bool within = true;
    bool anyBudget = false;
    const auto check = [&](const char *key, const std::optional<double> &limit, double value) {
        if (limit) {
            line << QStringLiteral("%1=%2").arg(QLatin1String(key), fixed(*limit, 0));
            within = within && value <= *limit;
            anyBudget = true;
        }
    };
    check("open_budget_ms", budget.openMs, openMs);
    check("save_budget_ms", budget.saveMs, saveMs);
    // The memory budget is for opening and saving; the merge that follows
    // holds a second file's records besides and is reported in peak_rss_mb.
    check("peak_budget_mb", budget.peakMiB, first.peakAfterSaveMiB);
    line << QStringLiteral("within_budget=%1")
                .arg(!anyBudget ? QStringLiteral("n/a")
                                : (within ? QStringLiteral("yes") : QStringLiteral("no")));
    line << QStringLiteral("repetitions=%1").arg(repetitions)
         << QStringLiteral("kdf=%1").arg(kdfName);
    out() << line.join(u' ') << Qt::endl;
    return 0;
}

// The cost users pay on every open with the default key derivation.
int reportModerateKdf()
{
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        FileKey key;
        qint64 ns = 0;
        if (!vlmfile::deriveKey(BenchPassword, KdfParams::Moderate(), key, &ns)) {
            return fail(QStringLiteral("the moderate key derivation failed"));
        }
        times.push_back(ms(ns));
    }
    out() << "kdf_moderate_ms=" << fixed(median(times)) << Qt::endl;
    return 0;
}

int writeXml(int records, const QString &path)
{
    QString error;
    if (!bench::writeKeePassXml(bench::generateBase(records), path, error)) {
        return fail(QStringLiteral("cannot write %1: %2").arg(path, error));
    }
    return 0;
}

int runAll(const QStringList &sizes, const QString &kdfName)
{
    int status = reportModerateKdf();
    for (const QString &size : sizes) {
        QByteArray line;
        if (!runSelf({QStringLiteral("--size"), size, QStringLiteral("--kdf"), kdfName}, line)) {
            status = 1;
            continue;
        }
        out() << QString::fromUtf8(line);
        out().flush();
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times opening, saving and merging password files of generated records."));
    parser.addHelpOption();
    const QCommandLineOption sizesOption(
        QStringLiteral("sizes"), QStringLiteral("Record counts, comma-separated."),
        QStringLiteral("list"), QStringLiteral("1000,10000,100000"));
    const QCommandLineOption kdfOption(QStringLiteral("kdf"),
                                       QStringLiteral("Key derivation of the files: minimum or "
                                                      "moderate."),
                                       QStringLiteral("cost"), QStringLiteral("minimum"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Measure one size in this process."),
                                        QStringLiteral("n"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"),
        QStringLiteral("With --size: use the files prepared there instead of writing them."),
        QStringLiteral("dir"));
    const QCommandLineOption prepareOption(QStringLiteral("prepare"),
                                           QStringLiteral("Write the files of a size into --data."),
                                           QStringLiteral("n"));
    const QCommandLineOption xmlOption(
        QStringLiteral("write-xml"),
        QStringLiteral("Write the records of a size as KeePass 2 XML to the file given."),
        QStringLiteral("n"));
    parser.addOptions({sizesOption, kdfOption, sizeOption, dataOption, prepareOption, xmlOption});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("With --write-xml: the XML file to write."));
    parser.process(app);

    const QString kdfName = parser.value(kdfOption);
    const std::optional<KdfParams> kdf = parseKdf(kdfName);
    if (!kdf) {
        return fail(QStringLiteral("--kdf takes minimum or moderate"));
    }
    if (parser.isSet(xmlOption)) {
        const auto n = parseCount(parser.value(xmlOption));
        if (!n || parser.positionalArguments().size() != 1) {
            return fail(QStringLiteral("usage: --write-xml N FILE"));
        }
        return writeXml(*n, parser.positionalArguments().constFirst());
    }
    if (parser.isSet(prepareOption)) {
        const auto n = parseCount(parser.value(prepareOption));
        if (!n || !parser.isSet(dataOption)) {
            return fail(QStringLiteral("usage: --prepare N --data DIR"));
        }
        return prepare(*n, *kdf, parser.value(dataOption));
    }
    if (parser.isSet(sizeOption)) {
        const auto n = parseCount(parser.value(sizeOption));
        if (!n) {
            return fail(QStringLiteral("--size takes a record count from 1 to %1").arg(MaxRecords));
        }
        return measure(*n, kdfName, parser.value(dataOption));
    }
    const QStringList sizes = parser.value(sizesOption).split(u',', Qt::SkipEmptyParts);
    for (const QString &size : sizes) {
        if (!parseCount(size)) {
            return fail(QStringLiteral("not a record count: %1").arg(size));
        }
    }
    if (sizes.isEmpty()) {
        return fail(QStringLiteral("--sizes lists no record count"));
    }
    return runAll(sizes, kdfName);
}
