#pragma once
// The templates list of the left panel with its search field: the names of
// the folder's templates from a quick pass, their thumbnails drawn on worker
// threads (or taken from the cache) and filled in as they come, the rows on
// screen first, and the folder watched so that files copied in, removed or
// rewritten by other programs show without a restart.

#include "editor/template_list_model.h"
#include "editor/template_loader.h"
#include "editor/thumbnail_cache.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <thread>

class QLineEdit;
class QListView;
class TTemplateFilter;

class TTemplateBrowser : public QWidget {
    Q_OBJECT
public:
    struct TOptions {
        QString CacheFolder;  // empty: the user's cache folder
        int Workers = TTemplateLoader::DefaultWorkers();
    };
    static constexpr int ThumbW = 112;
    static constexpr int ThumbH = 80;

    explicit TTemplateBrowser(const TOptions& Options, QWidget* Parent = nullptr);
    ~TTemplateBrowser() override;

    // A template chosen by double click or by Enter in the search field.
    std::function<void(const QString&)> OnOpen;
    // Whether a file is the one open in the editor (its row gets selected).
    std::function<bool(const QString&)> IsCurrent;

    // Reads the names now; the row of the editor's file is selected.
    void Reload();
    // Reads the names on a worker and fills them in when done; the selected
    // template stays selected.
    void ReloadInBackground();
    // Stops the workers; nothing more arrives.
    void Shutdown();

    QString SelectedPath() const;
    QString SelectedName() const;
    // Names still being read or thumbnails still being drawn.
    bool Loading() const;

    QListView* View() const { return FView; }
    QLineEdit* SearchField() const { return FSearch; }
    TTemplateListModel* Model() const { return FModel; }
    TTemplateFilter* Filter() const { return FFilter; }

private:
    // Select: the file whose row gets selected; SelectCurrent: the editor's
    // file instead.
    void Apply(const std::vector<TTemplateEntry>& Entries, const QString& Select, bool SelectCurrent);
    void ApplyThumb(const TThumbResult& R);
    void Watch();
    void OpenFirstMatch();
    void SelectPath(const QString& Path);
    void FlushWanted();
    void FileChanged(const QString& Path);

    QLineEdit* FSearch = nullptr;
    QListView* FView = nullptr;
    TTemplateListModel* FModel = nullptr;
    TTemplateFilter* FFilter = nullptr;
    TThumbnailCache FCache;
    std::unique_ptr<TTemplateLoader> FLoader;
    QFileSystemWatcher FWatcher;
    QTimer FSettle;  // folder events come in bursts: one reload after the last
    quint64 FGeneration = 0;
    bool FScanPending = false;
    std::thread FScan;
    QStringList FWanted;
    // Size, modification and status-change time of each watched file when it
    // was listed: reading a file touches its access time, which the watcher
    // reports as a change too, and that alone must not fill the list again.
    QHash<QString, QString> FStamps;
};
