#pragma once
// Draws the thumbnails of template files on worker threads, from the cache
// where it holds them, and hands each one over as it is done.
//
// Each worker loads its files into a document of its own and draws with
// QImage and QPainter only, which Qt allows off the main thread. The files
// asked for last by Prioritize (the rows on screen) go first. Stop (and the
// destructor) drops what is still waiting and joins the workers; a thumbnail
// being drawn at that moment is finished first, so closing never waits longer
// than one drawing.

#include "editor/thumbnail_cache.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct TThumbResult {
    quint64 Generation = 0;  // of the Enqueue the file came from
    QString Path;
    bool Ok = false;     // false: the file is no label that can be drawn
    QString Name;        // the stored name after a full load; empty when the cache answered
    QImage Thumb;
};

class TTemplateLoader {
public:
    // Deliver runs on a worker thread; it must pass the result on to the
    // main thread (a queued call) and return.
    using TDeliver = std::function<void(TThumbResult)>;

    TTemplateLoader(const TThumbnailCache& Cache, QSize Size, QColor Background, TDeliver Deliver,
                    int Workers = DefaultWorkers());
    ~TTemplateLoader();
    TTemplateLoader(const TTemplateLoader&) = delete;
    TTemplateLoader& operator=(const TTemplateLoader&) = delete;

    static int DefaultWorkers();

    // Replaces everything still waiting by these files, in this order; their
    // results carry Generation.
    void Enqueue(quint64 Generation, const QStringList& Paths);
    // Moves these files, where still waiting, to the front.
    void Prioritize(const QStringList& Paths);
    void Stop();
    bool Running() const;
    // Nothing waiting and nothing being drawn.
    bool Idle() const;

    // One file, on the calling thread: what a worker does with it.
    static TThumbResult Load(const QString& Path, const TThumbnailCache& Cache, QSize Size, QColor Background);

private:
    void Run();

    const TThumbnailCache& FCache;
    const QSize FSize;
    const QColor FBackground;
    TDeliver FDeliver;
    mutable std::mutex FMutex;
    std::condition_variable FWake;
    struct TJob {
        quint64 Generation = 0;
        QString Path;
    };
    std::deque<TJob> FQueue;
    int FBusy = 0;
    bool FStopping = false;
    std::vector<std::thread> FWorkers;
};
