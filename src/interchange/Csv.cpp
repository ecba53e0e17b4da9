#include "Csv.h"

#include "SecureBytes.h"

#include <QStringDecoder>

namespace interchange {

namespace {

ImportError errorAt(int line, const QString &text)
{
    return ImportError{line, QStringLiteral("line %1: %2").arg(line).arg(text)};
}

bool isRowEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Parses text into rows; the reader checks their shape afterwards.
class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    bool parse(std::vector<CsvRow> &rows, ImportError &error)
    {
        while (m_pos < m_text.size()) {
            CsvRow row;
            row.line = m_line;
            if (!parseRow(row.fields, error)) {
                return false;
            }
            if (row.fields.size() == 1 && row.fields.front().isEmpty()) {
                continue; // a blank line
            }
            rows.push_back(std::move(row));
        }
        return true;
    }

private:
    bool parseRow(QStringList &fields, ImportError &error)
    {
        for (;;) {
            QString field;
            if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                if (!parseQuoted(field, error)) {
                    return false;
                }
            } else {
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && m_text[m_pos] != u',' && !isRowEnd(m_text[m_pos])) {
                    ++m_pos;
                }
                field = m_text.mid(start, m_pos - start).toString();
            }
            fields.append(std::move(field));
            if (m_pos < m_text.size() && m_text[m_pos] == u',') {
                ++m_pos;
                continue;
            }
            skipRowEnd();
            return true;
        }
    }

    bool parseQuoted(QString &field, ImportError &error)
    {
        const int startLine = m_line;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size()) {
                wipeText(field);
                error = errorAt(startLine, QStringLiteral("a quoted field is not closed"));
                return false;
            }
            const QChar c = m_text[m_pos];
            if (c == u'"') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'"') {
                    field.append(u'"');
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                break;
            }
            if (c == u'\n' || (c == u'\r' && !nextIs(u'\n'))) {
                ++m_line;
            }
            field.append(c);
            ++m_pos;
        }
        if (m_pos < m_text.size() && m_text[m_pos] != u',' && !isRowEnd(m_text[m_pos])) {
            wipeText(field);
            error = errorAt(m_line, QStringLiteral("text follows the closing quote of a field"));
            return false;
        }
        return true;
    }

    bool nextIs(QChar c) const { return m_pos + 1 < m_text.size() && m_text[m_pos + 1] == c; }

    void skipRowEnd()
    {
        if (m_pos >= m_text.size()) {
            return;
        }
        if (m_text[m_pos] == u'\r' && nextIs(u'\n')) {
            ++m_pos;
        }
        ++m_pos;
        ++m_line;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

bool CsvReader::read(const QByteArray &bytes, std::vector<CsvRow> &rows, ImportError &error)
{
    rows.clear();
    QStringDecoder decoder(QStringDecoder::Utf8); // drops a byte order mark
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        wipeText(text);
        error = ImportError{0, QStringLiteral("the file is not UTF-8 text")};
        return false;
    }
    const bool parsed = Parser(text).parse(rows, error);
    wipeText(text);
    if (parsed && rows.empty()) {
        error = ImportError{0, QStringLiteral("the file is empty")};
    }
    for (std::size_t i = 1; parsed && i < rows.size(); ++i) {
        const qsizetype expected = rows.front().fields.size();
        if (rows[i].fields.size() != expected) {
            error = errorAt(rows[i].line, QStringLiteral("%1 fields where the header has %2")
                                              .arg(rows[i].fields.size())
                                              .arg(expected));
            wipeRows(rows);
            return false;
        }
    }
    if (!parsed || rows.empty()) {
        wipeRows(rows);
        return false;
    }
    return true;
}

CsvWriter::~CsvWriter()
{
    wipeText(m_text);
}

void CsvWriter::addRow(const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            m_text.append(u',');
        }
        const QString &field = fields[i];
        const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\r') ||
                           field.contains(u'\n');
        if (!quote) {
            m_text.append(field);
            continue;
        }
        m_text.append(u'"');
        for (const QChar c : field) {
            if (c == u'"') {
                m_text.append(u'"');
            }
            m_text.append(c);
        }
        m_text.append(u'"');
    }
    m_text.append(QStringLiteral("\r\n"));
}

QByteArray CsvWriter::finish()
{
    QByteArray bytes = m_text.toUtf8();
    wipeText(m_text);
    return bytes;
}

void wipeRows(std::vector<CsvRow> &rows)
{
    for (CsvRow &row : rows) {
        for (QString &field : row.fields) {
            wipeText(field);
        }
    }
    rows.clear();
}

} // namespace interchange
