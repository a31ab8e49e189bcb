#include "document_fixtures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>
#include <zlib.h>

QByteArray JpegWithOrientation(const QImage& Img, int Orientation)
{
    QByteArray Jpeg;
    QBuffer Buf(&Jpeg);
    Buf.open(QIODevice::WriteOnly);
    QImageWriter W(&Buf, "jpeg");
    W.setQuality(95);
    if (!W.write(Img))
        throw std::runtime_error("cannot write JPEG");
    // APP1 "Exif": a big-endian TIFF header and one IFD with tag 0x0112.
    const char Exif[] = {'\xFF', '\xE1', 0, 34,  'E', 'x', 'i', 'f', 0, 0,   'M', 'M', 0, 0x2A, 0, 0, 0,
                         8,      0,      1, 0x01, 0x12, 0, 3,   0,   0, 0,   1,   0,   char(Orientation),
                         0,      0,      0, 0,    0,    0};
    Jpeg.insert(2, QByteArray(Exif, sizeof Exif));  // right after the start-of-image marker
    return Jpeg;
}

QByteArray SvgDocument(double ViewW, double ViewH, const QString& Body)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">"
                          "%3</svg>\n")
        .arg(ViewW)
        .arg(ViewH)
        .arg(Body)
        .toUtf8();
}

QByteArray Gzip(const QByteArray& Data)
{
    z_stream Z{};
    if (deflateInit2(&Z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)  // +16: gzip wrapper
        throw std::runtime_error("deflateInit2");
    QByteArray Out(int(deflateBound(&Z, uLong(Data.size())) + 32), '\0');
    Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    Z.avail_in = uInt(Data.size());
    Z.next_out = reinterpret_cast<Bytef*>(Out.data());
    Z.avail_out = uInt(Out.size());
    const int Rc = deflate(&Z, Z_FINISH);
    const auto Written = Z.total_out;
    deflateEnd(&Z);
    if (Rc != Z_STREAM_END)
        throw std::runtime_error("deflate");
    Out.resize(int(Written));
    return Out;
}

QByteArray PdfDocument(const std::vector<TPdfPageSpec>& Pages)
{
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter W(&Buf);
        W.setResolution(300);
        W.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter P;
        for (size_t I = 0; I < Pages.size(); ++I) {
            W.setPageSize(QPageSize(Pages[I].SizeMm, QPageSize::Millimeter));
            if (I == 0)
                P.begin(&W);
            else
                W.newPage();
            const double PW = W.width(), PH = W.height();
            for (const QRectF& R : Pages[I].Black)
                P.fillRect(QRectF(R.x() * PW, R.y() * PH, R.width() * PW, R.height() * PH), Qt::black);
        }
        P.end();
    }
    return Bytes;
}

QByteArray EncryptedPdf()
{
    const QByteArray Hash32(32, '\x5A');  // neither the owner's nor the user's hash of an empty password
    const QByteArray Hex = Hash32.toHex().toUpper();
    const QList<QByteArray> Objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>",
        "<< /Filter /Standard /V 1 /R 2 /Length 40 /P -4 /O <" + Hex + "> /U <" + Hex + "> >>",
    };
    QByteArray Pdf = "%PDF-1.4\n";
    QList<int> Offsets;
    for (int I = 0; I < Objects.size(); ++I) {
        Offsets.append(int(Pdf.size()));
        Pdf += QByteArray::number(I + 1) + " 0 obj\n" + Objects[I] + "\nendobj\n";
    }
    const int Xref = int(Pdf.size());
    Pdf += "xref\n0 " + QByteArray::number(Objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int Off : Offsets)
        Pdf += QByteArray::number(Off).rightJustified(10, '0') + " 00000 n \n";
    Pdf += "trailer\n<< /Size " + QByteArray::number(Objects.size() + 1) +
           " /Root 1 0 R /Encrypt 4 0 R /ID [<0123456789ABCDEF0123456789ABCDEF> "
           "<0123456789ABCDEF0123456789ABCDEF>] >>\nstartxref\n" +
           QByteArray::number(Xref) + "\n%%EOF\n";
    return Pdf;
}

double DarkShare(const QImage& Img, const QRect& Rect)
{
    const QRect R = Rect & Img.rect();
    if (R.isEmpty())
        return 0;
    qint64 Dark = 0;
    for (int Y = R.top(); Y <= R.bottom(); ++Y)
        for (int X = R.left(); X <= R.right(); ++X)
            Dark += qGray(Img.pixel(X, Y)) < 128;
    return double(Dark) / (qint64(R.width()) * R.height());
}
