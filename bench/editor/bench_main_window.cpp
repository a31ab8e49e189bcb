// The main window under load: repainting a 1000 mm label with a photo
// background at several zooms, filling the templates panel from folders of 5
// to 2,000 templates (a 1200 x 1200 photo in every fifth), with and without
// the thumbnails kept from an earlier run, starting up to the first painted
// window with those folders, and typing into the templates search.
//
// Runs headless (offscreen) in a temporary HOME, so the user's own data
// folder is never touched.

#include "ble/sim/sim_ble_manager.h"
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "editor/template_browser.h"
#include "editor/thumbnail_cache.h"
#include "model/label_doc.h"
#include "model/picture_io.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QKeyEvent>
#include <QTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

// An empty radio: no printer around, so the window's printer search ends
// without touching the system's Bluetooth.
TMainFormDeps Deps()
{
    static TSimBleManager Ble;
    TMainFormDeps D;
    D.Ble = &Ble;
    return D;
}

QImage SyntheticPhoto(int W, int H)
{
    QImage Img(W, H, QImage::Format_RGB32);
    uint32_t S = 12345;
    for (int Y = 0; Y < H; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Img.scanLine(Y));
        for (int X = 0; X < W; ++X) {
            S = S * 1664525u + 1013904223u;
            const int Noise = int(S >> 28) - 8;
            const double U = double(X) / W, V = double(Y) / H;
            const int R = int(128 + 100 * std::sin(6.0 * U + 2.0 * V)) + Noise;
            const int G = int(128 + 90 * std::cos(4.0 * V - 3.0 * U)) + Noise;
            const int B = int(110 + 80 * std::sin(9.0 * U * V + 1.0)) + Noise;
            Row[X] = qRgb(std::clamp(R, 0, 255), std::clamp(G, 0, 255), std::clamp(B, 0, 255));
        }
    }
    return Img;
}

const QByteArray& PhotoPng()
{
    static const QByteArray Png = BitmapToPng(SyntheticPhoto(1200, 1200));
    return Png;
}

// Resident memory of this process in MiB, from /proc (0 where there is none).
double RssMiB()
{
    QFile F(QStringLiteral("/proc/self/status"));
    if (!F.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& Line : F.readAll().split('\n'))
        if (Line.startsWith("VmRSS:"))
            return Line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// N templates: texts and a frame in each, a photo in every fifth. The folder
// is filled anew only when N changes.
void FillTemplateFolder(int N)
{
    static int Filled = -1;
    if (Filled == N)
        return;
    Filled = N;
    const QDir Dir(TAppSettings::TemplateDir());
    for (const QString& F : Dir.entryList({QStringLiteral("*.pellwerk")}, QDir::Files))
        QFile::remove(Dir.filePath(F));
    for (int I = 0; I < N; ++I) {
        TLabelDoc Doc;
        Doc.Name = QStringLiteral("Vorlage %1").arg(I, 4, 10, QLatin1Char('0'));
        Doc.LengthMm = 25 + I % 50;
        Doc.BgPreset = TBgPreset(I % 7);
        for (int K = 0; K < 3; ++K) {
            TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
            E->X = 10;
            E->Y = 10 + K * 60;
            E->W = 360;
            E->H = 56;
            E->Text = QStringLiteral("Zeile %1 von Vorlage %2 {DATUM}").arg(K + 1).arg(I);
        }
        if (I % 5 == 0) {
            TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekImage));
            E->X = 20;
            E->Y = 20;
            E->W = 340;
            E->H = 170;
            E->SetImagePng(PhotoPng());
        }
        Doc.SaveToFile(Dir.filePath(Doc.Name + QStringLiteral(".pellwerk")));
    }
}

void ClearThumbnailCache()
{
    QDir(TThumbnailCache::DefaultFolder()).removeRecursively();
}

// Processes events until the templates list has every thumbnail.
bool WaitForThumbnails(TLabelMainForm& Form, int TimeoutMs)
{
    QElapsedTimer T;
    T.start();
    // Sleeps until the next event: the workers need the cores, not a
    // spinning wait.
    QTimer Tick;
    Tick.start(50);
    while (Form.TemplateBrowser()->Loading() && T.elapsed() < TimeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !Form.TemplateBrowser()->Loading();
}

// Makes every template file look changed, so the panel reads them all anew.
void TouchTemplates()
{
    const QDir Dir(TAppSettings::TemplateDir());
    static int Step = 0;
    const QDateTime When = QDateTime::currentDateTime().addSecs(++Step);
    for (const QString& F : Dir.entryList({QStringLiteral("*.pellwerk")}, QDir::Files)) {
        QFile File(Dir.filePath(F));
        if (File.open(QIODevice::ReadWrite))
            File.setFileTime(When, QFileDevice::FileModificationTime);
    }
}

// Processes events until the canvas has been painted at least once.
class TPaintWaiter : public QObject {
public:
    explicit TPaintWaiter(QWidget* W) : FWidget(W) { W->installEventFilter(this); }
    bool Wait(int TimeoutMs)
    {
        QElapsedTimer T;
        T.start();
        while (!FPainted && T.elapsed() < TimeoutMs)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        return FPainted;
    }

protected:
    bool eventFilter(QObject* O, QEvent* E) override
    {
        if (O == FWidget && E->type() == QEvent::Paint)
            FPainted = true;
        return false;
    }

private:
    QWidget* FWidget;
    bool FPainted = false;
};

void BuildLongPhotoLabel(TLabelDoc& Doc)
{
    Doc.Clear();
    Doc.LengthMm = 1000;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmFill;
    Doc.BgDither = true;
    Doc.BgLighten = 20;
    Doc.SetBgPng(BitmapToPng(SyntheticPhoto(1200, 900)));
    for (int I = 0; I < 10; ++I) {
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
        E->X = 20;
        E->Y = 40 + I * 790;
        E->W = 340;
        E->H = 120;
        E->FontSize = 28 + 2 * I;
        E->Text = QStringLiteral("Feld %1: {DATUM} Nr. {NR}").arg(I + 1);
    }
}

// Repaints of the visible canvas once the label has been rendered; the zoom
// is the argument in hundredths. The first repaint after a change renders
// the whole label and is timed separately.
void BM_CanvasRepaint(benchmark::State& State)
{
    const double Zoom = State.range(0) / 100.0;
    TLabelMainForm Form(Deps());
    Form.resize(1400, 860);
    Form.show();
    BuildLongPhotoLabel(Form.Doc());
    Form.RefreshAll();
    Form.SetZoom(Zoom);
    TPaintWaiter(Form.Canvas()).Wait(5000);

    QElapsedTimer First;
    First.start();
    Form.RepaintCanvas();
    Form.Canvas()->repaint();
    const double FirstMs = First.nsecsElapsed() / 1e6;

    std::vector<double> Ms;
    for (auto _ : State) {
        QElapsedTimer T;
        T.start();
        Form.Canvas()->repaint();
        const double Ns = double(T.nsecsElapsed());
        State.SetIterationTime(Ns / 1e9);
        Ms.push_back(Ns / 1e6);
    }
    std::sort(Ms.begin(), Ms.end());
    State.counters["median_ms"] = Ms.empty() ? 0 : Ms[Ms.size() / 2];
    State.counters["zoom_pct"] = State.range(0);
    State.counters["first_render_ms"] = FirstMs;
    State.counters["rss_MiB"] = RssMiB();
    Form.hide();
}
BENCHMARK(BM_CanvasRepaint)->Arg(25)->Arg(100)->Arg(200)->Arg(800)->UseManualTime()->Unit(benchmark::kMillisecond);

// One window going through the zooms and back: the resident memory after
// repainting at each zoom must not climb with the zoom.
void BM_CanvasZoomMemory(benchmark::State& State)
{
    TLabelMainForm Form(Deps());
    Form.resize(1400, 860);
    Form.show();
    BuildLongPhotoLabel(Form.Doc());
    Form.RefreshAll();
    TPaintWaiter(Form.Canvas()).Wait(5000);
    const double Zooms[] = {0.25, 1, 2, 8, 2, 1, 0.25, 8};
    for (auto _ : State) {
        for (size_t I = 0; I < std::size(Zooms); ++I) {
            Form.SetZoom(Zooms[I]);
            for (int K = 0; K < 20; ++K)
                Form.Canvas()->repaint();
            State.counters[QStringLiteral("rss%1_at_%2").arg(I).arg(int(Zooms[I] * 100)).toStdString()] = RssMiB();
        }
    }
}
BENCHMARK(BM_CanvasZoomMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The panel filled from files it has not seen (first fill), and filled
// again from the same files (refill, as after every save).
void BM_LoadTemplates(benchmark::State& State)
{
    const bool Refill = State.range(0) == 1;
    FillTemplateFolder(50);
    TLabelMainForm Form(Deps());
    Form.show();
    WaitForThumbnails(Form, 60000);
    for (auto _ : State) {
        if (!Refill) {
            State.PauseTiming();
            TouchTemplates();
            ClearThumbnailCache();
            State.ResumeTiming();
        }
        Form.LoadTemplates();
        if (!WaitForThumbnails(Form, 60000)) {
            State.SkipWithError("thumbnails missing");
            return;
        }
    }
    State.SetLabel(Refill ? "refill" : "first fill");
    State.counters["rss_MiB"] = RssMiB();
}
BENCHMARK(BM_LoadTemplates)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// From creating the window to its first painted canvas, with the number of
// templates in the folder as the argument.
void BM_StartUpToFirstPaint(benchmark::State& State)
{
    FillTemplateFolder(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        auto Form = std::make_unique<TLabelMainForm>(Deps());
        Form->show();
        if (!TPaintWaiter(Form->Canvas()).Wait(10000)) {
            State.SkipWithError("the canvas was never painted");
            return;
        }
        State.PauseTiming();
        Form.reset();
        QApplication::processEvents();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Arg(5)->Arg(50)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(5);

// From creating the window to the last thumbnail of the list: arguments are
// the number of templates and whether the thumbnails of an earlier run are
// in the cache (1) or not (0).
void BM_AllThumbnails(benchmark::State& State)
{
    const bool Warm = State.range(1) == 1;
    FillTemplateFolder(static_cast<int>(State.range(0)));
    ClearThumbnailCache();
    if (Warm) {
        TLabelMainForm Form(Deps());
        WaitForThumbnails(Form, 120000);
    }
    // CPU time of all threads: on a busy machine the wall time mostly says
    // how much of the cores the workers got.
    double CpuS = 0;
    for (auto _ : State) {
        if (!Warm) {
            State.PauseTiming();
            ClearThumbnailCache();
            State.ResumeTiming();
        }
        const std::clock_t Cpu0 = std::clock();
        auto Form = std::make_unique<TLabelMainForm>(Deps());
        Form->show();
        if (!WaitForThumbnails(*Form, 120000)) {
            State.SkipWithError("thumbnails missing");
            return;
        }
        CpuS += double(std::clock() - Cpu0) / CLOCKS_PER_SEC;
        State.PauseTiming();
        Form.reset();
        QApplication::processEvents();
        State.ResumeTiming();
    }
    State.counters["all_threads_cpu_s"] = CpuS / double(State.iterations());
    State.SetLabel(Warm ? "warm cache" : "cold cache");
}
BENCHMARK(BM_AllThumbnails)->Args({500, 0})->Args({500, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

// One letter typed into the templates search (filter, layout and repaint of
// the list) and taken back again, with 2,000 templates listed.
void BM_SearchOneLetter(benchmark::State& State)
{
    FillTemplateFolder(static_cast<int>(State.range(0)));
    TLabelMainForm Form(Deps());
    Form.show();
    WaitForThumbnails(Form, 300000);
    QLineEdit* Search = Form.TemplateBrowser()->SearchField();
    QWidget* List = Form.TemplateBrowser()->View()->viewport();
    const char Letters[] = "7V3e";
    std::vector<double> Ms;
    size_t K = 0;
    for (auto _ : State) {
        const bool Back = K % 2 == 1;
        const char Letter = Letters[(K / 2) % 4];
        ++K;
        QElapsedTimer T;
        T.start();
        // As the keyboard sends it: press and release.
        const int Key = Back ? int(Qt::Key_Backspace) : int(QChar(QLatin1Char(Letter)).toUpper().unicode());
        const QString Text = Back ? QString() : QString(QLatin1Char(Letter));
        QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
        QKeyEvent Release(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
        QApplication::sendEvent(Search, &Press);
        QApplication::sendEvent(Search, &Release);
        QApplication::processEvents();
        List->repaint();
        const double Ns = double(T.nsecsElapsed());
        State.SetIterationTime(Ns / 1e9);
        Ms.push_back(Ns / 1e6);
    }
    std::sort(Ms.begin(), Ms.end());
    State.counters["median_ms"] = Ms.empty() ? 0 : Ms[Ms.size() / 2];
    State.counters["max_ms"] = Ms.empty() ? 0 : Ms.back();
}
BENCHMARK(BM_SearchOneLetter)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A HOME of its own: the templates below must not land in the user's folder.
    QTemporaryDir Home;
    if (!Home.isValid())
        return 2;
    qputenv("HOME", QFile::encodeName(Home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Home.path() + QStringLiteral("/.local/share")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home.path() + QStringLiteral("/.config")));
    QStandardPaths::setTestModeEnabled(true);
    QApplication App(argc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
