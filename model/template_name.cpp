#include "model/template_name.h"

#include "model/json_read.h"
#include "model/label_doc.h"
#include "model/model_error.h"

#include <QFile>

#include <nlohmann/json.hpp>

#include <optional>

namespace {

// Walks the JSON events until the top-level "name" member has been seen,
// then stops: the pictures, far behind it in every file this program writes,
// are never read.
class TNameReader : public nlohmann::json_sax<nlohmann::json> {
public:
    std::optional<std::string> Name;
    bool RootIsObject = false;
    bool NotAnObject = false;

    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool string(string_t& s) override
    {
        if (FDepth == 1 && FAtName) {
            Name = s;
            return false;
        }
        return Value();
    }
    bool key(string_t& k) override
    {
        FAtName = FDepth == 1 && k == "name";
        return true;
    }
    bool start_object(std::size_t) override
    {
        if (FDepth == 0)
            RootIsObject = true;
        FAtName = false;
        ++FDepth;
        return true;
    }
    bool end_object() override
    {
        --FDepth;
        return true;
    }
    bool start_array(std::size_t) override
    {
        if (FDepth == 0) {
            NotAnObject = true;
            return false;
        }
        FAtName = false;
        ++FDepth;
        return true;
    }
    bool end_array() override
    {
        --FDepth;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    bool Value()
    {
        if (FDepth == 0)
            NotAnObject = true;
        FAtName = false;
        return FDepth > 0;
    }
    int FDepth = 0;
    bool FAtName = false;
};

[[noreturn]] void Unreadable(const QString& AFileName)
{
    throw EModelError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden").arg(AFileName));
}

// The reading rules of the full load, for files the quick reader cannot
// judge (a name that is no string, text that is not clean UTF-8): both ways
// then agree on the name.
QString NameByFullParse(const QString& AFileName)
{
    QFile F(AFileName);
    if (!F.open(QIODevice::ReadOnly))
        Unreadable(AFileName);
    QByteArray Bytes = F.readAll();
    if (F.error() != QFileDevice::NoError)
        Unreadable(AFileName);
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        Bytes.remove(0, 3);
    bool Ok = false;
    const QJsonObject O = JsonParseObject(QString::fromUtf8(Bytes).toUtf8(), &Ok);
    if (!Ok)
        throw EModelError(QStringLiteral("Keine gültige Etikettendatei"));
    return JsonStr(O, QStringLiteral("name"), LabelNameFromFileName(AFileName));
}

} // namespace

QString ReadTemplateName(const QString& AFileName)
{
    // Every file this program writes names its label within the first few
    // hundred bytes; a head of this size covers hand-made files too, and
    // anything else goes the slow way.
    constexpr qint64 HeadBytes = 16 * 1024;
    QFile F(AFileName);
    if (!F.open(QIODevice::ReadOnly))
        Unreadable(AFileName);
    QByteArray Head = F.read(HeadBytes);
    if (F.error() != QFileDevice::NoError)
        Unreadable(AFileName);
    const bool Whole = F.atEnd();
    F.close();
    if (Head.startsWith("\xEF\xBB\xBF"))
        Head.remove(0, 3);
    TNameReader Reader;
    const bool Complete = nlohmann::json::sax_parse(Head.cbegin(), Head.cend(), &Reader);
    if (Reader.Name)
        return QString::fromStdString(*Reader.Name);
    if (Reader.NotAnObject)
        throw EModelError(QStringLiteral("Keine gültige Etikettendatei"));
    if (Whole && Complete && Reader.RootIsObject)
        return LabelNameFromFileName(AFileName);
    return NameByFullParse(AFileName);
}
