// templates: the labels of the templates folder by name and file; an empty
// folder first gets the built-in templates, as at the editor's first start.

#include "cli_fixture.h"

#include "model/label_doc.h"

#include <QDir>
#include <QFile>

namespace {

class CliTemplates : public TCliFixture {};

TEST_F(CliTemplates, EmptyFolderGetsTheBuiltinTemplates)
{
    const TCliResult r = Run({"templates"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QStringList expected;
    for (const QString name : {"Abgefüllt am", "Achtung zerbrechlich", "Adresse", "Namensschild", "Nummerierung",
                               "Preisschild"})
        expected << name + "\t" + TemplateFile(name);
    EXPECT_EQ(r.Out.split('\n', Qt::SkipEmptyParts), expected);
    EXPECT_TRUE(QFile::exists(TemplateFile("Nummerierung")));
}

TEST_F(CliTemplates, OwnLabelsAreListedAndBrokenOnesReported)
{
    const QString dir = DataDir() + "/Vorlagen";
    ASSERT_TRUE(QDir().mkpath(dir));
    TLabelDoc doc;
    doc.Name = "Preis: 5/kg";
    doc.SaveToFile(dir + "/Preis_ 5_kg.pellwerk");
    QFile broken(dir + "/kaputt.pellwerk");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("kein JSON");
    broken.close();

    const TCliResult r = Run({"templates"});
    ASSERT_EQ(r.ExitCode, 0);
    // The label's own name, and no built-in templates beside the user's labels.
    EXPECT_EQ(r.Out, "Preis: 5/kg\t" + dir + "/Preis_ 5_kg.pellwerk\n");
    EXPECT_TRUE(r.Err.contains("Übersprungen: " + dir + "/kaputt.pellwerk: Keine gültige Etikettendatei"))
        << r.Err.toStdString();

    // A template is found by its label name; the picture is named after its file.
    const TCliResult render = Run({"render", "Preis: 5/kg"});
    EXPECT_EQ(render.ExitCode, 0) << render.Err.toStdString();
    EXPECT_EQ(ReadMonoPng(HomePath("Preis_ 5_kg.png")).Height, 240);
}

} // namespace
