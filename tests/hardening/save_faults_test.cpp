// A save that cannot finish — a read-only folder, a full disk, a kill in the
// middle — must leave the previous file as it was and say so in German; the
// same for a label file and for the settings file.

#include "hardening_fixture.h"
#include "settings_fixture.h"

#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TSave = std::function<void(const QString& AFileName)>;

struct TSaveKind {
    const char* Name;
    QString Leaf;
    // Prepares what the variant saves, a few hundred bytes or several
    // hundred KB, and returns the save itself, so that a child process only
    // writes. Different variants give different files.
    std::function<TSave(int Variant, bool Large)> Prepare;
    // Whether the file reads as what it claims to be.
    std::function<bool(const QString& AFileName)> Reads;
    QString ErrorText;
};

TSaveKind LabelKind()
{
    return {"Label", QStringLiteral("Etikett.pellwerk"),
            [](int V, bool Large) -> TSave {
                std::shared_ptr<TLabelDoc> Doc = MakeLabel(V, Large ? 3 * 1024 * 1024 : 0);
                return [Doc](const QString& F) { Doc->SaveToFile(F); };
            },
            [](const QString& F) {
                try {
                    TLabelDoc D;
                    D.LoadFromFile(F);
                    return true;
                } catch (const std::exception&) {
                    return false;
                }
            },
            QStringLiteral("konnte nicht gespeichert werden")};
}

TSaveKind SettingsKind()
{
    return {"Settings", QStringLiteral("einstellungen.ini"),
            [](int V, bool Large) -> TSave {
                auto S = std::make_shared<TAppSettings>();
                S->PrinterName = QStringLiteral("Drucker %1").arg(V);
                S->Energy = 20000 + V;
                if (Large)
                    S->LastTemplate = QStringLiteral("/sehr/langer/Pfad/").repeated(20000) + QString::number(V);
                return [S](const QString& F) { S->SaveToFile(F); };
            },
            [](const QString& F) {
                // Every saved variant names its printer; a torn file would not.
                TAppSettings S;
                S.LoadFromFile(F);
                return S.PrinterName.startsWith(QStringLiteral("Drucker "));
            },
            QStringLiteral("kann nicht geschrieben werden")};
}

// Entries of the folder that the program would pick up as its own files.
QStringList OwnFiles(const QString& Dir, const QString& Leaf)
{
    const QString Ext = QStringLiteral("*.") + QFileInfo(Leaf).suffix();
    return QDir(Dir).entryList({Ext}, QDir::Files | QDir::Hidden);
}

class SaveFaults : public ::testing::TestWithParam<TSaveKind> {
protected:
    QString Target(const QString& Dir) const { return Dir + QLatin1Char('/') + GetParam().Leaf; }

    // Saves and expects the German failure naming the file.
    void ExpectFailure(const TSave& Save, const QString& File)
    {
        try {
            Save(File);
            ADD_FAILURE() << "the save did not fail";
        } catch (const std::exception& E) {
            const QString Msg = QString::fromUtf8(E.what());
            EXPECT_TRUE(Msg.contains(GetParam().ErrorText)) << Msg.toStdString();
            EXPECT_TRUE(Msg.contains(QFileInfo(File).fileName())) << Msg.toStdString();
        }
    }
};

TEST_P(SaveFaults, ReadOnlyFolderKeepsThePreviousFile)
{
    // A read-only tmpfs where mounting is allowed, else the folder's mode
    // bits and immutable flag.
    SmallDisk Disk(1024 * 1024);
    const QString File = Target(Disk.Path());
    GetParam().Prepare(0, false)(File);
    const QByteArray Before = FileBytes(File);
    const QStringList Entries = FolderEntries(Disk.Path());
    const TSave Next = GetParam().Prepare(1, false);
    {
        std::unique_ptr<ReadOnlyFolder> Guard;
        if (!Disk.SetReadOnly(true)) {
            Guard = std::make_unique<ReadOnlyFolder>(Disk.Path());
            if (!Guard->Effective())
                GTEST_SKIP() << "the folder cannot be made read-only here (no tmpfs, no immutable flag)";
        }
        ExpectFailure(Next, File);
        Disk.SetReadOnly(false);
    }
    EXPECT_EQ(FileBytes(File), Before);
    EXPECT_EQ(FolderEntries(Disk.Path()), Entries);
    EXPECT_TRUE(GetParam().Reads(File));
    // Writable again, the same save goes through.
    EXPECT_NO_THROW(Next(File));
    EXPECT_NE(FileBytes(File), Before);
}

TEST_P(SaveFaults, FullDiskKeepsThePreviousFile)
{
    SmallDisk Disk(256 * 1024);
    if (!Disk.Mounted())
        std::fprintf(stderr, "no tmpfs here: a file size limit stands in for the full disk\n");
    const QString File = Target(Disk.Path());
    GetParam().Prepare(0, false)(File);
    const QByteArray Before = FileBytes(File);
    const QStringList Entries = FolderEntries(Disk.Path());
    // Small enough to fit an empty disk: it fails only because the disk is full.
    const TSave Next = GetParam().Prepare(1, false);
    Disk.Fill();
    ExpectFailure(Next, File);
    Disk.Release();
    EXPECT_EQ(FileBytes(File), Before);
    EXPECT_EQ(FolderEntries(Disk.Path()), Entries) << "no temporary file may stay behind";
    EXPECT_TRUE(GetParam().Reads(File));
}

TEST_P(SaveFaults, KillDuringSaveLeavesAWholeFile)
{
    QTemporaryDir Dir;
    QTemporaryDir RefDir;
    // What a complete save of each variant looks like.
    QList<QByteArray> Whole;
    std::vector<TSave> Saves;
    qint64 SaveMs = 1;
    for (int V = 0; V < 3; ++V) {
        Saves.push_back(GetParam().Prepare(V, V > 0));
        const QString Ref = RefDir.path() + QStringLiteral("/%1_").arg(V) + GetParam().Leaf;
        QElapsedTimer Timer;
        Timer.start();
        Saves.back()(Ref);
        SaveMs = std::max(SaveMs, Timer.elapsed());
        Whole << FileBytes(Ref);
    }
    const QString File = Target(Dir.path());
    Saves[0](File);

    // Kill times spread from the start of the first save to past the end of
    // the second, measured on this machine as it is loaded now.
    int Replaced = 0;
    for (int Round = 0; Round < 8; ++Round) {
        const qint64 DelayMs = 1 + SaveMs * Round * 5 / 16;
        const pid_t Child = ::fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            // Saves the two large variants in turn until killed; gives up
            // after a while so a lost parent cannot leave it running.
            for (int I = 0; I < 400; ++I) {
                try {
                    Saves[1 + I % 2](File);
                } catch (...) {
                    ::_exit(3);
                }
            }
            ::_exit(0);
        }
        ::usleep(useconds_t(DelayMs) * 1000);
        ::kill(Child, SIGKILL);
        int Status = 0;
        ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
        ASSERT_TRUE(WIFSIGNALED(Status)) << "the saving child ended by itself (status " << Status << ")";

        const QByteArray Now = FileBytes(File);
        const int Which = Whole.indexOf(Now);
        EXPECT_GE(Which, 0) << "after a kill at " << DelayMs << " ms the file is " << Now.size()
                            << " bytes, no complete save";
        EXPECT_TRUE(GetParam().Reads(File)) << "kill at " << DelayMs << " ms";
        if (Which > 0)
            ++Replaced;
        // Leftovers of a killed save must never pass for a second file.
        EXPECT_EQ(OwnFiles(Dir.path(), GetParam().Leaf), QStringList{GetParam().Leaf});
    }
    EXPECT_GT(Replaced, 0) << "the child never completed a save: the test saw no save at all";
}

INSTANTIATE_TEST_SUITE_P(Files, SaveFaults, ::testing::Values(LabelKind(), SettingsKind()),
                         [](const ::testing::TestParamInfo<TSaveKind>& I) { return std::string(I.param.Name); });

}  // namespace
