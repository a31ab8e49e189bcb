#include "merge_fixtures.h"

#include "model/builtin_templates.h"

namespace {

std::unique_ptr<TLabelDoc> PriceTag(const QString& Artikel, const QString& Preis)
{
    auto doc = std::make_unique<TLabelDoc>();
    doc->Name = QStringLiteral("Preisschild");
    doc->LengthMm = 30;
    doc->BgPreset = bpDoubleFrame;
    AddTextElement(*doc, 18, 18, 348, 50, Artikel, 30, false, laCenter);
    AddTextElement(*doc, 18, 70, 348, 110, Preis + QStringLiteral(" €"), 88, true, laCenter);
    AddTextElement(*doc, 18, 186, 348, 34, QStringLiteral("inkl. MwSt. – Nr. {NR}"), 22, false, laCenter);
    return doc;
}

}  // namespace

std::unique_ptr<TLabelDoc> PriceTagLabel()
{
    return PriceTag(QStringLiteral("{Artikel}"), QStringLiteral("{preis}"));
}

std::unique_ptr<TLabelDoc> PriceTagTyped(const QString& Artikel, const QString& Preis)
{
    return PriceTag(Artikel, Preis);
}

TDataTable PriceTable(int Count)
{
    QByteArray csv = "Artikel;Preis\r\n";
    for (int n = 1; n <= Count; ++n)
        csv += QStringLiteral("Artikel %1;%1,99\r\n").arg(n).toUtf8();
    return ParseDataTable(csv, QStringLiteral("preise.csv"));
}
