#include "cli_fixture.h"

#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"
#include "model/placeholders.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <algorithm>

void TCliFixture::Prepare(QProcess& P) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", Home.path());
    env.insert("XDG_DATA_HOME", Home.path() + "/.local/share");
    env.insert("XDG_CONFIG_HOME", Home.path() + "/.config");
    QDir(Home.path()).mkpath("runtime");
    QFile::setPermissions(Home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", Home.path() + "/runtime");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("DBUS_SYSTEM_BUS_ADDRESS");
    for (const QString& key : Extra.keys())
        env.insert(key, Extra.value(key));
    P.setProcessEnvironment(env);
    P.setWorkingDirectory(Home.path());
    P.setProgram(PELLWERK_CLI_PATH);
}

TCliResult TCliFixture::Run(const QStringList& Args, const QByteArray& Input)
{
    QProcess p;
    Prepare(p);
    p.setArguments(Args);
    p.start();
    TCliResult r;
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << "pellwerk-cli did not start: " << p.errorString().toStdString();
        return r;
    }
    if (!Input.isEmpty())
        p.write(Input);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "pellwerk-cli did not finish: " << Args.join(' ').toStdString();
        return r;
    }
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = QString::fromUtf8(p.readAllStandardOutput());
    r.Err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString TCliFixture::HomePath(const QString& Name) const
{
    return QDir(Home.path()).filePath(Name);
}

QString TCliFixture::DataDir() const
{
    return Home.path() + "/.local/share/MIRVO Pellwerk";
}

QString TCliFixture::TemplateFile(const QString& Name) const
{
    return DataDir() + "/Vorlagen/" + Name + ".pellwerk";
}

void TCliFixture::WriteBuiltins() const
{
    const QString dir = DataDir() + "/Vorlagen";
    QDir().mkpath(dir);
    CreateBuiltinTemplates(dir);
}

void TCliFixture::WriteSettings(const QString& IniText) const
{
    QDir().mkpath(DataDir());
    QFile f(DataDir() + "/einstellungen.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(IniText.toUtf8());
}

QByteArray TCliFixture::ReadFile(const QString& Path) const
{
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

TNbMonoImage ReadMonoPng(const QString& Path)
{
    QImage img;
    if (!img.load(Path, "png")) {
        ADD_FAILURE() << "no PNG at " << Path.toStdString();
        return {};
    }
    if (img.depth() != 1) {
        ADD_FAILURE() << Path.toStdString() << " has " << img.depth() << " bits per pixel, not 1";
        return {};
    }
    TNbMonoImage m;
    m.Init(img.width(), img.height(), 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            m.SetDot(x, y, qGray(img.pixel(x, y)) < 128 ? 1 : 0);
    return m;
}

TNbMonoImage ExpectedRaster(const QString& LabelFile, int Copies, int GapDots, const std::optional<QDateTime>& Now)
{
    TLabelDoc doc;
    doc.LoadFromFile(LabelFile);
    SetPlaceholderClock(Now);
    std::vector<TNbMonoImage> copies;
    for (int n = 1; n <= Copies; ++n)
        copies.push_back(doc.RenderMono(n));
    SetPlaceholderClock(std::nullopt);
    return StackMonoImages(copies, GapDots);
}

TNbMonoImage WithBlankRows(const TNbMonoImage& M, int Rows)
{
    TNbMonoImage out;
    out.Init(M.Width, M.Height + Rows, 0);
    std::copy(M.Dots.begin(), M.Dots.end(), out.Dots.begin());
    return out;
}

::testing::AssertionResult SameRaster(const TNbMonoImage& Actual, const TNbMonoImage& Expected)
{
    if (Actual.Width != Expected.Width || Actual.Height != Expected.Height)
        return ::testing::AssertionFailure() << "size " << Actual.Width << " x " << Actual.Height << ", expected "
                                             << Expected.Width << " x " << Expected.Height;
    size_t differ = 0;
    for (size_t i = 0; i < Actual.Dots.size(); ++i)
        differ += (Actual.Dots[i] != 0) != (Expected.Dots[i] != 0);
    if (differ != 0)
        return ::testing::AssertionFailure() << differ << " dots differ";
    return ::testing::AssertionSuccess();
}

int InkDots(const TNbMonoImage& M)
{
    return static_cast<int>(std::count_if(M.Dots.begin(), M.Dots.end(), [](uint8_t d) { return d != 0; }));
}
