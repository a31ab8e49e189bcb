// Text form and picture decoding of a label that holds a 1200 x 1200 photo.
// Targets: ToJSONString and FromJSONString at most 15 ms each, the first
// Image() (PNG decoding) at most 60 ms.

#include "model/label_doc.h"
#include "model/picture_io.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

// Photo-like: soft colour fields with fine-grained sensor noise, so that the
// PNG is about as large as that of a real photo of this size.
QImage SyntheticPhoto(int Side)
{
    QImage Img(Side, Side, QImage::Format_RGB32);
    uint32_t S = 12345;
    for (int Y = 0; Y < Side; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Img.scanLine(Y));
        for (int X = 0; X < Side; ++X) {
            S = S * 1664525u + 1013904223u;
            const int Noise = int(S >> 28) - 8;  // -8 .. 7
            const double U = double(X) / Side, V = double(Y) / Side;
            const int R = int(128 + 100 * std::sin(6.0 * U + 2.0 * V)) + Noise;
            const int G = int(128 + 90 * std::cos(4.0 * V - 3.0 * U)) + Noise;
            const int B = int(110 + 80 * std::sin(9.0 * U * V + 1.0)) + Noise;
            Row[X] = qRgb(std::clamp(R, 0, 255), std::clamp(G, 0, 255), std::clamp(B, 0, 255));
        }
    }
    return Img;
}

struct TPhotoLabel {
    TLabelDoc Doc;
    QByteArray Png;
    QString Text;

    TPhotoLabel()
    {
        Png = BitmapToPng(SyntheticPhoto(1200));
        Doc.Name = QStringLiteral("Foto-Etikett");
        Doc.LengthMm = 48;
        TLabelElement* Pic = Doc.Elements.Add(std::make_unique<TLabelElement>(ekImage));
        Pic->W = 384;
        Pic->H = 384;
        Pic->SetImagePng(Png);
        TLabelElement* Caption = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
        Caption->Text = QStringLiteral("Urlaub 2026 – Strand");
        Text = Doc.ToJSONString();
    }
};

TPhotoLabel& Label()
{
    static TPhotoLabel L;
    return L;
}

void BM_ToJSONString(benchmark::State& State)
{
    const TLabelDoc& Doc = Label().Doc;
    for (auto _ : State) {
        QString S = Doc.ToJSONString();
        benchmark::DoNotOptimize(S.constData());
    }
    State.counters["png_bytes"] = double(Label().Png.size());
    State.counters["text_chars"] = double(Label().Text.size());
}
BENCHMARK(BM_ToJSONString)->Unit(benchmark::kMillisecond);

void BM_FromJSONString(benchmark::State& State)
{
    const QString& Text = Label().Text;
    TLabelDoc Doc;
    for (auto _ : State) {
        Doc.FromJSONString(Text);
        benchmark::DoNotOptimize(Doc.Elements.Count());
    }
    if (Doc.Elements.Count() != 2 || Doc.Elements[0]->ImagePng() != Label().Png)
        State.SkipWithError("read back a different label");
}
BENCHMARK(BM_FromJSONString)->Unit(benchmark::kMillisecond);

void BM_FirstImageDecode(benchmark::State& State)
{
    TLabelElement E(ekImage);
    const QByteArray& Png = Label().Png;
    for (auto _ : State) {
        E.SetImagePng(Png);  // drops the cached bitmap
        const QImage& Img = E.Image();
        benchmark::DoNotOptimize(Img.constBits());
    }
    if (E.Image().size() != QSize(1200, 1200))
        State.SkipWithError("decoded a wrong size");
}
BENCHMARK(BM_FirstImageDecode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
