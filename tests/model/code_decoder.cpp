#include "code_decoder.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The value of a line 'Key:   "text"' of the decoder's report.
QString QuotedValue(const QString& Line)
{
    const qsizetype First = Line.indexOf(QLatin1Char('"'));
    const qsizetype Last = Line.lastIndexOf(QLatin1Char('"'));
    return First >= 0 && Last > First ? Line.mid(First + 1, Last - First - 1) : QString();
}

QString PlainValue(const QString& Line)
{
    return Line.mid(Line.indexOf(QLatin1Char(':')) + 1).trimmed();
}

}  // namespace

std::vector<TDecodedCode> DecodeCodes(const TNbMonoImage& Mono, int Zoom)
{
    std::vector<TDecodedCode> Found;
    QImage Img(Mono.Width * Zoom, Mono.Height * Zoom, QImage::Format_Grayscale8);
    for (int32_t Y = 0; Y < Img.height(); ++Y) {
        uchar* Line = Img.scanLine(Y);
        for (int32_t X = 0; X < Img.width(); ++X)
            Line[X] = Mono.GetDot(X / Zoom, Y / Zoom) ? 0 : 255;
    }
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("code.png"));
    if (!Img.save(File, "PNG")) {
        ADD_FAILURE() << "cannot write " << File.toStdString();
        return Found;
    }
    QProcess P;
    P.start(QStringLiteral("ZXingReader"), {File});
    if (!P.waitForFinished(60000) || P.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "ZXingReader did not run: " << P.errorString().toStdString();
        return Found;
    }
    const QStringList Lines = QString::fromUtf8(P.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& L : Lines) {
        if (L.startsWith(QLatin1String("Text:")))
            Found.push_back({QString(), QuotedValue(L)});
        else if (L.startsWith(QLatin1String("Format:")) && !Found.empty())
            Found.back().Format = PlainValue(L);
    }
    return Found;
}
