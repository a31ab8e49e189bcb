#include "editor/template_loader.h"

#include "model/label_doc.h"
#include "model/thumbnail.h"

#include <QFile>
#include <QSet>

#include <algorithm>

TTemplateLoader::TTemplateLoader(const TThumbnailCache& Cache, QSize Size, QColor Background, TDeliver Deliver,
                                 int Workers)
    : FCache(Cache), FSize(Size), FBackground(Background), FDeliver(std::move(Deliver))
{
    for (int I = 0; I < std::max(1, Workers); ++I)
        FWorkers.emplace_back([this] { Run(); });
}

TTemplateLoader::~TTemplateLoader()
{
    Stop();
}

int TTemplateLoader::DefaultWorkers()
{
    // One core stays for the window.
    const unsigned N = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(N <= 1 ? 1u : N, 1u, 4u));
}

void TTemplateLoader::Enqueue(quint64 Generation, const QStringList& Paths)
{
    {
        const std::lock_guard Lock(FMutex);
        FQueue.clear();
        for (const QString& P : Paths)
            FQueue.push_back(TJob{Generation, P});
    }
    FWake.notify_all();
}

void TTemplateLoader::Prioritize(const QStringList& Paths)
{
    const std::lock_guard Lock(FMutex);
    const QSet<QString> Wanted(Paths.begin(), Paths.end());
    // Stable: the waiting files keep their order among themselves.
    std::stable_partition(FQueue.begin(), FQueue.end(), [&](const TJob& J) { return Wanted.contains(J.Path); });
}

void TTemplateLoader::Stop()
{
    {
        const std::lock_guard Lock(FMutex);
        FStopping = true;
        FQueue.clear();
    }
    FWake.notify_all();
    for (std::thread& T : FWorkers)
        if (T.joinable())
            T.join();
    FWorkers.clear();
}

bool TTemplateLoader::Running() const
{
    const std::lock_guard Lock(FMutex);
    return !FStopping;
}

bool TTemplateLoader::Idle() const
{
    const std::lock_guard Lock(FMutex);
    return FQueue.empty() && FBusy == 0;
}

void TTemplateLoader::Run()
{
    for (;;) {
        TJob Job;
        {
            std::unique_lock Lock(FMutex);
            FWake.wait(Lock, [this] { return FStopping || !FQueue.empty(); });
            if (FStopping)
                return;
            Job = std::move(FQueue.front());
            FQueue.pop_front();
            ++FBusy;
        }
        TThumbResult R = Load(Job.Path, FCache, FSize, FBackground);
        R.Generation = Job.Generation;
        // Delivered before the worker counts as done, so Idle() never
        // reports a result that is still on its way.
        FDeliver(std::move(R));
        const std::lock_guard Lock(FMutex);
        --FBusy;
    }
}

TThumbResult TTemplateLoader::Load(const QString& Path, const TThumbnailCache& Cache, QSize ThumbSize,
                                   QColor Background)
{
    TThumbResult R;
    R.Path = Path;
    try {
        QFile F(Path);
        if (!F.open(QIODevice::ReadOnly))
            return R;
        // Read, not mapped: a file that another program cuts short while it
        // is mapped would bring the process down.
        QByteArray Bytes = F.readAll();
        if (F.error() != QFileDevice::NoError)
            return R;
        F.close();
        // Hash and drawing come from the same bytes: a file rewritten in the
        // meantime can never leave its old picture under its new content.
        const QByteArray Hash = TemplateContentHash(Bytes);
        if (std::optional<QImage> Hit = Cache.Find(Hash, ThumbSize, Background)) {
            R.Ok = true;
            R.Thumb = std::move(*Hit);
            return R;
        }
        TLabelDoc Doc;
        Doc.LoadFromBytes(std::move(Bytes), Path);
        R.Thumb = RenderThumbnail(Doc, ThumbSize.width(), ThumbSize.height(), Background);
        R.Name = Doc.Name;
        R.Ok = true;
        Cache.Store(Hash, Doc, R.Thumb, Background);
    } catch (...) {
        R.Ok = false;  // not a label file, or one that cannot be drawn
        R.Thumb = QImage();
    }
    return R;
}
