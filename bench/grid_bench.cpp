// Grid benchmarks: filling, sorting and painting the password grid's shape
// (16 columns, 13 shown cells, notes as row text) with generated rows.
// Prints key=value lines; times are the median of several runs in ms.

#include "Grid.h"
#include "ResourceImages.h"

#include <algorithm>
#include <cstdio>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFont>
#include <vector>

using controls::Grid;

namespace {

constexpr int rowCount = 10'000;
constexpr int runs = 7;

struct Record
{
    QString service, user, password, url, expUrl, changeUrl, cat, subCat, notes;
    QDate expire, change;
    int status = 0;
};

std::vector<Record> makeRecords()
{
    std::vector<Record> records;
    records.reserve(rowCount);
    const QDate base(2024, 1, 1);
    for (int i = 0; i < rowCount; ++i) {
        // A cheap deterministic mix, so dates and names are not already sorted.
        const int mix = (i * 7919) % rowCount;
        Record r;
        r.service = QStringLiteral("Service %1").arg(mix, 5, 10, QLatin1Char('0'));
        r.user = QStringLiteral("user%1@example.org").arg(i);
        r.password = QStringLiteral("pw-%1-%2").arg(mix * 31).arg(i);
        r.url = QStringLiteral("https://service%1.example.org/login").arg(i);
        r.expUrl = QStringLiteral("https://service%1.example.org/expire").arg(i);
        r.changeUrl = QStringLiteral("https://service%1.example.org/change").arg(i);
        r.cat = QStringLiteral("Category %1").arg(i % 50);
        r.subCat = QStringLiteral("Sub %1").arg(i % 7);
        if (i % 3 == 0)
            r.notes = QStringLiteral("Notes for record %1").arg(i);
        r.expire = base.addDays(mix % 900);
        r.change = base.addDays((mix * 3) % 900);
        r.status = i % 3;
        records.push_back(std::move(r));
    }
    return records;
}

controls::GridColumnDefinition textColumn(const QString &key, const QString &header)
{
    controls::GridColumnDefinition definition;
    definition.key = key;
    definition.header = header;
    return definition;
}

void setupColumns(Grid &grid, const controls::ImageList &images)
{
    using controls::GridColumnDefinition;
    const auto add = [&grid](const GridColumnDefinition &definition) {
        grid.addColumn(definition);
    };
    for (const char16_t *group : {u"group1", u"group2", u"group3"})
        add({QString::fromUtf16(group),
             {},
             Qt::AlignLeft,
             0,
             16,
             false,
             false,
             false,
             {},
             false,
             0});
    add({QStringLiteral("Service"),
         QStringLiteral("Service"),
         Qt::AlignLeft,
         0,
         96,
         true,
         true,
         true,
         {},
         false,
         0});
    add(textColumn(QStringLiteral("UserName"), QStringLiteral("User Name")));
    add(textColumn(QStringLiteral("Password"), QStringLiteral("Password")));
    add(textColumn(QStringLiteral("URL"), QStringLiteral("URL")));
    add({QStringLiteral("Expire"),
         {},
         Qt::AlignLeft,
         images.index(QStringLiteral("PDELETE")),
         26,
         true,
         false,
         false,
         {},
         false,
         controls::SortImage});
    add({QStringLiteral("ExpDate"), QStringLiteral("Exp. Date"), Qt::AlignLeft, 0, 96, true, false,
         true, QStringLiteral("dd/mm/yyyy"), false, controls::SortDate});
    add(textColumn(QStringLiteral("ExpURL"), QStringLiteral("Exp. URL")));
    add({QStringLiteral("Change"),
         {},
         Qt::AlignLeft,
         images.index(QStringLiteral("PEDIT")),
         26,
         true,
         false,
         false,
         {},
         false,
         controls::SortImage});
    add({QStringLiteral("ChangeDate"), QStringLiteral("Chg. Date"), Qt::AlignLeft, 0, 96, true,
         false, true, QStringLiteral("dd/mm/yyyy"), false, controls::SortDate});
    add(textColumn(QStringLiteral("ChangeURL"), QStringLiteral("Chg. URL")));
    add(textColumn(QStringLiteral("Cat"), QStringLiteral("Category")));
    add(textColumn(QStringLiteral("SubCat"), QStringLiteral("Sub Category")));
    add({QStringLiteral("Notes"), {}, Qt::AlignLeft, 0, 1012, true, false, true, {}, true, 0});
}

void fill(Grid &grid, const std::vector<Record> &records, const QFont &bold,
          const QFont &underlined, int alert, int warning)
{
    controls::CellDetails service;
    service.font = bold;
    controls::CellDetails link;
    link.font = underlined;
    controls::CellDetails date;
    controls::CellDetails notes;
    notes.foreColour = 128 | (128 << 8) | (128 << 16);
    const int images[] = {0, alert, warning};
    grid.setRedraw(false);
    grid.clearRows();
    for (const Record &r : records) {
        const int row = grid.addRow();
        service.text = r.service;
        grid.setCellDetails(row, 4, service);
        grid.setCellText(row, 5, r.user);
        grid.setCellText(row, 6, r.password);
        link.text = r.url;
        grid.setCellDetails(row, 7, link);
        grid.setCellImage(row, 8, images[r.status]);
        date.text = r.expire.toString(QStringLiteral("dd/MM/yyyy"));
        date.foreColour = r.status == 1 ? 255 : 65280;
        grid.setCellDetails(row, 9, date);
        link.text = r.expUrl;
        grid.setCellDetails(row, 10, link);
        grid.setCellImage(row, 11, images[(r.status + 1) % 3]);
        date.text = r.change.toString(QStringLiteral("dd/MM/yyyy"));
        grid.setCellDetails(row, 12, date);
        link.text = r.changeUrl;
        grid.setCellDetails(row, 13, link);
        grid.setCellText(row, 14, r.cat);
        grid.setCellText(row, 15, r.subCat);
        notes.text = r.notes;
        grid.setCellDetails(row, 16, notes);
    }
    grid.setRedraw(true);
}

template <typename F> double median(F &&work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);

    const auto images = controls::resource_images::imageList(101);
    const std::vector<Record> records = makeRecords();
    Grid grid;
    grid.resize(1000, 700);
    grid.setImageList(images);
    grid.setDefaultRowHeight(16);
    setupColumns(grid, *images);
    QFont bold = grid.font();
    bold.setBold(true);
    QFont underlined = grid.font();
    underlined.setUnderline(true);
    const int alert = images->index(QStringLiteral("ALERT"));
    const int warning = images->index(QStringLiteral("WARNING"));
    grid.show();

    const double fillMs = median([&] { fill(grid, records, bold, underlined, alert, warning); });
    const double notesMs = median([&] {
        grid.setRedraw(false);
        for (int row = 1; row <= grid.rowCount(); ++row) {
            if (!grid.rowText(row).isEmpty())
                grid.setRowHeight(row, grid.rowTextHeight(row) + grid.defaultRowHeight());
        }
        grid.setRedraw(true);
    });
    const double paintMs = median([&] { (void)grid.grab(); });
    const auto sortBy = [&grid](int column, int code) {
        return median([&grid, column, code] {
                   grid.clearSortKeys();
                   grid.addSortKey(column, controls::SortAscending, code);
                   grid.sort();
                   grid.clearSortKeys();
                   grid.addSortKey(column, controls::SortDescending, code);
                   grid.sort();
               }) /
               2;
    };
    const double sortTextMs = sortBy(4, controls::SortText);
    const double sortDateMs = sortBy(9, controls::SortDate);
    const double sortImageMs = sortBy(8, controls::SortImage);

    std::printf("rows=%d\n", grid.rowCount());
    std::printf("columns=%d\n", grid.columnCount());
    std::printf("runs=%d\n", runs);
    std::printf("fill_ms=%.2f\n", fillMs);
    std::printf("notes_heights_ms=%.2f\n", notesMs);
    std::printf("paint_ms=%.2f\n", paintMs);
    std::printf("sort_text_ms=%.2f\n", sortTextMs);
    std::printf("sort_date_ms=%.2f\n", sortDateMs);
    std::printf("sort_image_ms=%.2f\n", sortImageMs);
    std::printf("fill_budget_ms=100\n");
    std::printf("fill_within_budget=%s\n", fillMs <= 100.0 ? "yes" : "no");
    return 0;
}
