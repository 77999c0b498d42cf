// The input gives the texts of a few history records (source, learning order, a
// character and what it was taken for), separated by NUL bytes. The CSV written for
// them, read back by the rules of RFC 4180, gives every text again, behind an
// apostrophe where a spreadsheet would otherwise run it as a formula (and only there);
// no cell a spreadsheet would run is left, and every line ends with CRLF.
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scoring/HistoryCsv.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace lumbrel;

namespace {

// The rows of a CSV text, each as its cells, or nothing when it is not CSV.
FUZZ_NO_COVERAGE std::vector<QStringList> ReadCsv(const QString& csv, bool& ok) {
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    ok = true;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < csv.size() && csv[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            ok = ok && cell.isEmpty() && !wasQuoted;
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') && i + 1 < csv.size() && csv[i + 1] == QLatin1Char('\n')) {
            row << cell;
            rows.push_back(row);
            row.clear();
            cell.clear();
            wasQuoted = false;
            ++i;
        } else {
            ok = ok && !wasQuoted && c != QLatin1Char('\r') && c != QLatin1Char('\n');
            // A cell a spreadsheet would run is always quoted.
            ok = ok && !(cell.isEmpty() && QStringView(u"=+-@\t").contains(c));
            cell += c;
        }
    }
    ok = ok && !quoted && cell.isEmpty() && row.isEmpty();
    return rows;
}

// The cell a text becomes: behind an apostrophe when a spreadsheet would run it.
QString AsCell(const QString& text) {
    return !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()) ? QLatin1Char('\'') + text
                                                                              : text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList texts = input.split(QChar(0));
    std::vector<SessionRecord> records;
    for (qsizetype k = 0; k + 1 < texts.size() && records.size() < 8; k += 2) {
        SessionRecord r;
        r.source = texts[k];
        r.order = texts[k + 1];
        records.push_back(r);
    }
    const QString csv = HistoryCsv(records);
    bool ok = false;
    const std::vector<QStringList> rows = ReadCsv(csv, ok);
    FUZZ_CHECK(ok);
    FUZZ_CHECK(rows.size() == records.size() + 1);
    for (const QStringList& row : rows)
        for (const QString& cell : row)
            FUZZ_CHECK(cell.isEmpty() || !QStringView(u"=+-@\t\r").contains(cell.front()));
    for (std::size_t k = 0; k < records.size(); ++k) {
        FUZZ_CHECK(rows[k + 1].size() == rows[0].size());
        FUZZ_CHECK(rows[k + 1][1] == AsCell(records[k].source));
        FUZZ_CHECK(rows[k + 1][2] == AsCell(records[k].order));
    }
    return 0;
}
