// The data file a label remembers: relative beside the label, absolute
// elsewhere, and only in the files of labels that have one.

#include "model/label_doc.h"
#include "model_fixtures.h"

#include <QDir>

namespace {

class LabelDataFile : public TModelFileTest {};

TEST_F(LabelDataFile, IsWrittenOnlyWhenSet)
{
    TLabelDoc doc;
    const QString plain = doc.ToJSONString();
    EXPECT_FALSE(plain.contains(QStringLiteral("dataFile")));
    doc.SetDataFilePath(QStringLiteral("/srv/daten/preise.csv"));
    EXPECT_TRUE(doc.ToJSONString().endsWith(QStringLiteral(",\"dataFile\":\"\\/srv\\/daten\\/preise.csv\"}")))
        << doc.ToJSONString().toStdString();
    doc.SetDataFilePath(QString());
    EXPECT_EQ(doc.ToJSONString(), plain);
}

TEST_F(LabelDataFile, BesideTheLabelItIsRelativeElsewhereAbsolute)
{
    QDir(Dir.path()).mkpath(QStringLiteral("etiketten/daten"));
    QDir(Dir.path()).mkpath(QStringLiteral("anderswo"));
    const QString label = Path(QStringLiteral("etiketten/preis.pellwerk"));
    const QString beside = Path(QStringLiteral("etiketten/daten/preise.csv"));
    const QString elsewhere = Path(QStringLiteral("anderswo/preise.csv"));

    TLabelDoc doc;
    doc.SaveToFile(label);
    doc.SetDataFilePath(beside);
    EXPECT_EQ(doc.DataFile, QStringLiteral("daten/preise.csv"));
    EXPECT_EQ(doc.DataFilePath(), beside);
    doc.SetDataFilePath(elsewhere);
    EXPECT_EQ(doc.DataFile, elsewhere);

    doc.SetDataFilePath(beside);
    doc.SaveToFile(label);
    TLabelDoc loaded;
    loaded.LoadFromFile(label);
    EXPECT_EQ(loaded.DataFile, QStringLiteral("daten/preise.csv"));
    EXPECT_EQ(loaded.DataFilePath(), beside);

    // Saved somewhere else, the label still finds its data.
    const QString moved = Path(QStringLiteral("anderswo/preis.pellwerk"));
    loaded.SaveToFile(moved);
    EXPECT_EQ(loaded.DataFile, beside);
    TLabelDoc again;
    again.LoadFromFile(moved);
    EXPECT_EQ(again.DataFilePath(), beside);
}

TEST_F(LabelDataFile, AFailedSaveKeepsTheStoredForm)
{
    const QString label = Path(QStringLiteral("preis.pellwerk"));
    TLabelDoc doc;
    doc.SaveToFile(label);
    doc.SetDataFilePath(Path(QStringLiteral("preise.csv")));
    ASSERT_EQ(doc.DataFile, QStringLiteral("preise.csv"));
    EXPECT_THROW(doc.SaveToFile(Path(QStringLiteral("fehlt/ordner/x.pellwerk"))), EModelError);
    EXPECT_EQ(doc.DataFile, QStringLiteral("preise.csv"));
    EXPECT_EQ(doc.FileName, label);
}

}  // namespace
