// Labels from outside the window: the file of the command line replaces the
// last label without a question, a file handed over by a later start waits
// for the user's answer about unsaved changes and for open dialogs, and a
// file that cannot be read leaves the label as it was and says why.
#include "tests/editor/editor_fixture.h"

#include "app/open_requests.h"
#include "app/single_instance.h"
#include "editor/status_bar.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class OpenRequests : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        QDir().mkpath(TAppSettings::TemplateDir());
        CreateBuiltinTemplates(TAppSettings::TemplateDir());
        // The label that was open at the last exit.
        TAppSettings s;
        s.Load();
        s.LastTemplate = Template("Preisschild");
        s.Save();
    }

    static QString Template(const QString& Stem)
    {
        return QDir(TAppSettings::TemplateDir()).filePath(Stem + ".pellwerk");
    }

    // A label outside the templates folder, as a file manager hands it over.
    QString WriteLabel(const QString& FileName, const QString& Name)
    {
        TLabelDoc d;
        d.Name = Name;
        d.LengthMm = 42;
        const QString path = Files.filePath(FileName);
        d.SaveToFile(path);
        return path;
    }

    QString WriteBytes(const QString& FileName, const QByteArray& Bytes)
    {
        const QString path = Files.filePath(FileName);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
        return path;
    }

    QString Status() const { return F.Form->StatusBar()->Text(3); }

    QTemporaryDir Files;
    TEditorFixture F;
};

TEST_F(OpenRequests, TheFileOfTheCommandLineReplacesTheLastLabelWithoutAQuestion)
{
    TLabelMainForm& w = F.Create();
    ASSERT_EQ(w.Doc().Name, QStringLiteral("Preisschild"));
    const QString file = WriteLabel(QString::fromUtf8("Gewürze.pellwerk"), QString::fromUtf8("Gewürzregal"));

    TOpenRequests requests(w);
    requests.Open(file);

    EXPECT_EQ(w.Doc().Name, QString::fromUtf8("Gewürzregal"));
    EXPECT_EQ(w.Doc().LengthMm, 42);
    EXPECT_EQ(w.Doc().FileName, file);
    EXPECT_EQ(w.Settings().LastTemplate, file);
    EXPECT_EQ(w.UndoCount(), 0);
    EXPECT_EQ(Status(), QString::fromUtf8("Vorlage geladen: Gewürzregal"));
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty()) << F.Dialogs.Shown.join('|').toStdString();
}

TEST_F(OpenRequests, AFileThatCannotBeReadKeepsTheLabelAndNamesTheReason)
{
    struct TCase {
        QString File;
        QString Reason;
    };
    const QString missing = Files.filePath("fehlt.pellwerk");
    const QString notJson = WriteBytes("kaputt.pellwerk", "\xEF\xBB\xBF[1, 2, 3]");
    const QString folder = Files.filePath("Ordner.pellwerk");
    QDir().mkpath(folder);
    const TCase cases[] = {
        {missing, QStringLiteral("Die Datei \"%1\" wurde nicht gefunden").arg(missing)},
        {notJson, QStringLiteral("Keine gültige Etikettendatei")},
        {folder, QStringLiteral("Die Datei \"%1\" wurde nicht gefunden").arg(folder)},
    };
    TLabelMainForm& w = F.Create();
    TOpenRequests requests(w);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File.toStdString());
        F.Dialogs.Shown.clear();
        requests.Open(c.File);
        EXPECT_EQ(F.Dialogs.Shown,
                  QStringList{QStringLiteral("error: Vorlage konnte nicht geladen werden:\r\n") + c.Reason});
        EXPECT_EQ(w.Doc().Name, QStringLiteral("Preisschild"));
        EXPECT_EQ(w.Doc().FileName, Template("Preisschild"));
        EXPECT_EQ(w.Settings().LastTemplate, Template("Preisschild"));
    }
}

TEST_F(OpenRequests, AHandedOverFileAsksAboutUnsavedChangesFirst)
{
    TLabelMainForm& w = F.Create();
    TOpenRequests requests(w);
    const QString file = WriteLabel("Neu.pellwerk", "Von draussen");
    w.Doc().Name = QStringLiteral("Geändert");
    w.DocChanged();
    ASSERT_TRUE(w.Doc().Modified);

    F.Dialogs.YesNoCancel.push_back(TDialogs::TAnswer::Cancel);
    requests.Open(file);
    EXPECT_EQ(F.Dialogs.Shown, QStringList{QString::fromUtf8("yesnocancel: Änderungen an \"Geändert\" speichern?")});
    EXPECT_EQ(w.Doc().Name, QStringLiteral("Geändert"));
    EXPECT_TRUE(w.Doc().Modified);

    F.Dialogs.YesNoCancel.push_back(TDialogs::TAnswer::No);
    requests.Open(file);
    EXPECT_EQ(w.Doc().Name, QStringLiteral("Von draussen"));
    EXPECT_FALSE(w.Doc().Modified);
    // Declined, so the template on disk kept its name.
    TLabelDoc onDisk;
    onDisk.LoadFromFile(Template("Preisschild"));
    EXPECT_EQ(onDisk.Name, QStringLiteral("Preisschild"));
}

TEST_F(OpenRequests, AFileWaitsWhileADialogIsOpenAndTheWindowComesBack)
{
    TLabelMainForm& w = F.Create();
    TOpenRequests requests(w);
    const QString file = WriteLabel("Warten.pellwerk", "Nach dem Dialog");

    QDialog dialog(&w);
    dialog.setModal(true);
    dialog.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    w.showMinimized();

    requests.Open(file);
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(requests.HasPending());
    EXPECT_EQ(w.Doc().Name, QStringLiteral("Preisschild"));
    QTest::qWait(300);
    EXPECT_EQ(w.Doc().Name, QStringLiteral("Preisschild"));

    dialog.accept();
    for (int i = 0; i < 200 && requests.HasPending(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(requests.HasPending());
    EXPECT_EQ(w.Doc().Name, QStringLiteral("Nach dem Dialog"));
}

TEST_F(OpenRequests, ASecondStartOfTheProgramHandsItsFileToThisWindow)
{
    TLabelMainForm& w = F.Create();
    TOpenRequests requests(w);
    QTemporaryDir runtime;
    // The program finds the running editor where this test listens: in the
    // runtime folder both share.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    TSingleInstance instance(DefaultInstanceSocketPath());
    ASSERT_FALSE(instance.HandOverOrListen({}, 1000));
    QObject::connect(&instance, &TSingleInstance::OpenRequested, &requests, &TOpenRequests::Open);
    const QString file = WriteLabel("Zweiter Start.pellwerk", "Vom zweiten Start");

    QProcess second;
    second.setProgram(PELLWERK_PATH);
    // A relative name: the program makes it absolute in its own folder.
    second.setWorkingDirectory(Files.path());
    second.setArguments({"Zweiter Start.pellwerk"});
    second.start();
    ASSERT_TRUE(second.waitForStarted(10000));
    for (int i = 0; i < 3000 && second.state() != QProcess::NotRunning; ++i)
        QTest::qWait(10);
    ASSERT_EQ(second.state(), QProcess::NotRunning);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    for (int i = 0; i < 200 && w.Doc().Name != QStringLiteral("Vom zweiten Start"); ++i)
        QTest::qWait(10);
    EXPECT_EQ(w.Doc().Name, QStringLiteral("Vom zweiten Start"));
    EXPECT_EQ(w.Doc().FileName, file);
    qunsetenv("XDG_RUNTIME_DIR");
}

} // namespace
