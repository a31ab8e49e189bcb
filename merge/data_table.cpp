#include "merge/data_table.h"

#include "merge/data_text.h"
#include "merge/merge_error.h"
#include "model/fields.h"

#include <csv.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>

namespace {

// Beyond this a file is no address list but a mistake; reading it whole
// would only eat memory.
constexpr qint64 kMaxDataFileBytes = 64LL * 1024 * 1024;

// The delimiter a spreadsheet used: the one of semicolon, tab and comma that
// occurs most often in the header row outside quotes. Semicolon wins a tie,
// as German spreadsheets write it and a comma may be a decimal sign.
QChar DetectDelimiter(const QString& Text)
{
    int semicolons = 0, tabs = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : Text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tabs;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
    }
    if (semicolons >= tabs && semicolons >= commas && semicolons > 0)
        return QLatin1Char(';');
    if (tabs >= commas && tabs > 0)
        return QLatin1Char('\t');
    return QLatin1Char(',');
}

// Only blanks are trimmed from unquoted cells; a tab may be the delimiter.
int IsBlank(unsigned char C)
{
    return C == ' ' ? 1 : 0;
}

struct TCsvSink {
    std::vector<QStringList> Rows;
    QStringList Current;
};

void OnField(void* Data, size_t Length, void* Sink)
{
    auto* s = static_cast<TCsvSink*>(Sink);
    s->Current << QString::fromUtf8(static_cast<const char*>(Data), static_cast<qsizetype>(Length));
}

void OnRowEnd(int, void* Sink)
{
    auto* s = static_cast<TCsvSink*>(Sink);
    // Rows of empty cells are what spreadsheets leave below the data.
    bool empty = true;
    for (const QString& cell : s->Current)
        empty = empty && cell.isEmpty();
    if (!empty)
        s->Rows.push_back(std::move(s->Current));
    s->Current = QStringList();
}

struct TCsvParser {
    csv_parser P{};
    TCsvParser()
    {
        if (csv_init(&P, CSV_STRICT | CSV_STRICT_FINI) != 0)
            throw EMergeError(QStringLiteral("Nicht genügend Speicher für die Datendatei"));
    }
    ~TCsvParser() { csv_free(&P); }
    TCsvParser(const TCsvParser&) = delete;
    TCsvParser& operator=(const TCsvParser&) = delete;
};

std::vector<QStringList> SplitRows(const QByteArray& Utf8, QChar Delimiter, const QString& Name)
{
    TCsvParser parser;
    csv_set_delim(&parser.P, static_cast<unsigned char>(Delimiter.toLatin1()));
    csv_set_space_func(&parser.P, IsBlank);
    TCsvSink sink;
    const size_t n = static_cast<size_t>(Utf8.size());
    const bool parsed = csv_parse(&parser.P, Utf8.constData(), n, OnField, OnRowEnd, &sink) == n;
    if (!parsed || csv_fini(&parser.P, OnField, OnRowEnd, &sink) != 0) {
        if (csv_error(&parser.P) == CSV_EPARSE) {
            const QString where = sink.Rows.empty() ? QStringLiteral("in der Kopfzeile")
                                                    : QStringLiteral("in Datensatz %1").arg(sink.Rows.size());
            throw EMergeError(QStringLiteral("Die Datendatei \"%1\" ist fehlerhaft: %2 ist ein Anführungszeichen "
                                             "nicht richtig geschlossen")
                                  .arg(Name, where));
        }
        throw EMergeError(QStringLiteral("Nicht genügend Speicher für die Datendatei \"%1\"").arg(Name));
    }
    return std::move(sink.Rows);
}

// A first row that holds a number, or no name at all, is data: the file has
// no header row.
bool LooksLikeHeader(const QStringList& Row)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?\\d[\\d.,' ]*\\s*(%|€|EUR)?$"));
    bool anyName = false;
    for (const QString& cell : Row) {
        const QString t = cell.trimmed();
        if (number.match(t).hasMatch())
            return false;
        anyName = anyName || !t.isEmpty();
    }
    return anyName;
}

}  // namespace

TMergeRecord TDataTable::Record(int Number) const
{
    if (Number < 1 || Number > Count())
        throw EMergeError(
            QStringLiteral("Datensatz %1 gibt es nicht (die Datei hat %2 Datensätze)").arg(Number).arg(Count()));
    return TMergeRecord{Columns, Rows[static_cast<size_t>(Number - 1)], Number};
}

QStringList TDataTable::HiddenColumns() const
{
    QStringList hidden;
    for (const QString& c : *Columns)
        if (IsBuiltinPlaceholder(c))
            hidden << c;
    return hidden;
}

QString TDataTable::ColumnList() const
{
    QStringList named;
    for (const QString& c : *Columns)
        if (!c.isEmpty())
            named << c;
    return named.join(QStringLiteral(", "));
}

TDataTable ParseDataTable(const QByteArray& Bytes, const QString& Name)
{
    const TDataText decoded = DecodeDataText(Bytes);
    if (decoded.Text.trimmed().isEmpty())
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" ist leer").arg(Name));

    TDataTable table;
    table.FileName = Name;
    table.Encoding = decoded.Encoding;
    table.Delimiter = DetectDelimiter(decoded.Text);
    std::vector<QStringList> rows = SplitRows(decoded.Text.toUtf8(), table.Delimiter, Name);
    if (rows.empty())
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" ist leer").arg(Name));
    if (!LooksLikeHeader(rows.front()))
        throw EMergeError(QStringLiteral("Die erste Zeile der Datendatei \"%1\" enthält keine Spaltennamen – "
                                         "bitte eine Kopfzeile mit den Namen der Spalten einfügen")
                              .arg(Name));

    QStringList columns;
    for (const QString& cell : rows.front()) {
        const QString name = cell.trimmed();
        if (!name.isEmpty() && columns.contains(name, Qt::CaseInsensitive))
            throw EMergeError(
                QStringLiteral("Die Spalte \"%1\" kommt in der Kopfzeile von \"%2\" zweimal vor").arg(name, Name));
        columns << name;
    }
    for (size_t i = 1; i < rows.size(); ++i) {
        const qsizetype cells = rows[i].size();
        if (cells != columns.size())
            throw EMergeError(QStringLiteral("Datensatz %1 in \"%2\" hat %3 Zellen, die Kopfzeile aber %4 Spalten")
                                  .arg(i)
                                  .arg(Name)
                                  .arg(cells)
                                  .arg(columns.size()));
    }
    if (rows.size() < 2)
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" hat nur eine Kopfzeile und keine Datensätze").arg(Name));

    table.Columns = std::make_shared<const QStringList>(std::move(columns));
    table.Rows.assign(std::make_move_iterator(rows.begin() + 1), std::make_move_iterator(rows.end()));
    return table;
}

TDataTable LoadDataTable(const QString& Path)
{
    const QFileInfo info(Path);
    const QString name = info.fileName();
    if (!info.isFile())
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" wurde nicht gefunden").arg(Path));
    if (info.size() > kMaxDataFileBytes)
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" ist zu groß (höchstens 64 MB)").arg(name));
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" kann nicht gelesen werden").arg(Path));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw EMergeError(QStringLiteral("Die Datendatei \"%1\" kann nicht gelesen werden").arg(Path));
    TDataTable table = ParseDataTable(bytes, name);
    table.FileName = Path;
    return table;
}
