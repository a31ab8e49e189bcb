// Draws the program logo: a white label strip leaving a small printer, on a
// rounded square in the program's accent blue. Run by make_logo.sh; its PNG
// output is committed, so the build itself never needs this program.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kAccent(0, 120, 215);
const QColor kAccentDark(0, 90, 158);

// The mark on a 256 x 256 design grid, scaled to `size`.
QImage DrawLogo(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 256.0, size / 256.0);

    // Background tile.
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);

    // Label strip with a torn top edge, coming out of the printer.
    QPainterPath strip;
    strip.moveTo(78, 160);
    strip.lineTo(78, 58);
    const int teeth = 4;
    const double toothW = (178.0 - 78.0) / teeth;
    for (int i = 0; i < teeth; ++i) {
        strip.lineTo(78 + toothW * (i + 0.5), 44);
        strip.lineTo(78 + toothW * (i + 1), 58);
    }
    strip.lineTo(178, 160);
    strip.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(strip);

    // Three lines of "text" on the strip.
    QPen line(kAccent, 11, Qt::SolidLine, Qt::RoundCap);
    p.setPen(line);
    p.drawLine(QPointF(98, 84), QPointF(158, 84));
    p.drawLine(QPointF(98, 106), QPointF(150, 106));
    p.drawLine(QPointF(98, 128), QPointF(134, 128));

    // Printer body with its paper slot and a status light.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(38, 146, 180, 70), 20, 20);
    p.setPen(QPen(kAccentDark, 10, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(70, 164), QPointF(186, 164));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(190, 194), 8, 8);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: make_logo <Zielordner>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString name = out.filePath(QStringLiteral("icons/pellwerk_%1.png").arg(size));
        if (!DrawLogo(size).save(name, "PNG")) {
            std::fprintf(stderr, "Kann %s nicht schreiben\n", qPrintable(name));
            return 1;
        }
    }
    if (!DrawLogo(256).save(out.filePath(QStringLiteral("logo.png")), "PNG"))
        return 1;
    return 0;
}
