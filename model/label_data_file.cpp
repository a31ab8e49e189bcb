// Where a label's data file lies. A data file beside the label is kept
// relative, so a folder with both can be moved or shared as a whole; one
// elsewhere is kept absolute.
#include "model/label_doc.h"

#include <QDir>
#include <QFileInfo>

namespace {

QDir LabelFolder(const QString& LabelFile)
{
    return LabelFile.isEmpty() ? QDir::current() : QFileInfo(LabelFile).absoluteDir();
}

QString Resolve(const QString& Stored, const QString& LabelFile)
{
    if (Stored.isEmpty() || QDir::isAbsolutePath(Stored))
        return QDir::cleanPath(Stored);
    return QDir::cleanPath(LabelFolder(LabelFile).absoluteFilePath(Stored));
}

QString StoredForm(const QString& AbsPath, const QString& LabelFile)
{
    if (AbsPath.isEmpty() || LabelFile.isEmpty())
        return AbsPath;
    const QString rel = LabelFolder(LabelFile).relativeFilePath(AbsPath);
    if (rel.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(rel))
        return AbsPath;
    return rel;
}

}  // namespace

QString TLabelDoc::DataFilePath() const
{
    return Resolve(DataFile, FileName);
}

void TLabelDoc::SetDataFilePath(const QString& APath)
{
    const QString abs = APath.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(APath).absoluteFilePath());
    DataFile = StoredForm(abs, FileName);
}

void TLabelDoc::RebaseDataFile(const QString& ANewFileName)
{
    if (DataFile.isEmpty())
        return;
    const QString newFile = QFileInfo(ANewFileName).absoluteFilePath();
    DataFile = StoredForm(Resolve(DataFile, FileName), newFile);
}
