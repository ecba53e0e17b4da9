#include "KeePassXml.h"

#include "Interchange.h"

#include <QFile>
#include <QHash>

namespace bench {

bool writeKeePassXml(const Dataset &content, const QString &path, QString &error)
{
    QHash<qint16, QString> categories;
    QHash<qint16, QString> subcategories;
    for (const Category &c : content.categories) {
        categories.insert(c.codcat, c.DescrCat);
    }
    for (const SubCategory &s : content.subcategories) {
        subcategories.insert(s.CodSCat, s.DescrSCat);
    }
    std::vector<NamedRecord> records;
    records.reserve(content.passwords.size());
    for (const PasswordEntry &e : content.passwords) {
        records.push_back({e, categories.value(e.codcat), subcategories.value(e.CodSCat)});
    }
    const QByteArray xml =
        interchange::writeRecords(interchange::ExportFormat::KeePassXml, records);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(xml) != xml.size() ||
        !file.flush()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace bench
