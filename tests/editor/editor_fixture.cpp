#include "editor_fixture.h"

#include "editor/template_browser.h"
#include "settings/app_settings.h"

#include <QListView>

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

TDialogs::TAnswer TScriptedDialogs::AskYesNoCancel(QWidget*, const QString& text)
{
    Shown << QStringLiteral("yesnocancel: ") + text;
    if (YesNoCancel.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return TAnswer::Cancel;
    }
    const TAnswer a = YesNoCancel.front();
    YesNoCancel.pop_front();
    return a;
}

bool TScriptedDialogs::AskYesNo(QWidget*, const QString& text)
{
    Shown << QStringLiteral("yesno: ") + text;
    if (YesNo.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool a = YesNo.front();
    YesNo.pop_front();
    return a;
}

void TScriptedDialogs::ShowInfo(QWidget*, const QString& text)
{
    Shown << QStringLiteral("info: ") + text;
}

void TScriptedDialogs::ShowWarning(QWidget*, const QString& text)
{
    Shown << QStringLiteral("warning: ") + text;
}

void TScriptedDialogs::ShowError(QWidget*, const QString& text)
{
    Shown << QStringLiteral("error: ") + text;
}

bool TScriptedDialogs::InputBox(QWidget*, const QString& caption, const QString& prompt, QString& Value)
{
    Shown << QStringLiteral("input: %1 | %2 | %3").arg(caption, prompt, Value);
    if (Inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << caption.toStdString();
        return false;
    }
    const auto [ok, answer] = Inputs.front();
    Inputs.pop_front();
    if (ok)
        Value = answer;
    return ok;
}

QString TScriptedDialogs::OpenFile(QWidget*, const QString& title, const QString& filter)
{
    Shown << QStringLiteral("open: %1 | %2").arg(title, filter);
    if (Files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
        return {};
    }
    const QString f = Files.front();
    Files.pop_front();
    return f;
}

bool TScriptedDialogs::ChooseItem(QWidget*, const QString& caption, const QString& prompt, const QStringList& Items,
                                  int& Index)
{
    Shown << QStringLiteral("choose: %1 | %2 | %3 | %4").arg(caption, prompt, Items.join(QLatin1Char(','))).arg(Index);
    if (Choices.empty()) {
        ADD_FAILURE() << "unexpected choice: " << caption.toStdString();
        return false;
    }
    const int choice = Choices.front();
    Choices.pop_front();
    if (choice < 0)
        return false;
    Index = choice;
    return true;
}

void ResetDataFolder()
{
    QDir(TAppSettings::AppDir()).removeRecursively();
    QDir(TThumbnailCache::DefaultFolder()).removeRecursively();
}

QStringList ListCaptions(const QListView* List)
{
    QStringList c;
    if (!List) {
        ADD_FAILURE() << "no templates list";
        return c;
    }
    for (int i = 0; i < List->model()->rowCount(); ++i)
        c << List->model()->index(i, 0).data().toString();
    return c;
}

bool WaitForTemplates(TLabelMainForm& Form, int TimeoutMs)
{
    TTemplateBrowser* b = Form.TemplateBrowser();
    return QTest::qWaitFor([b] { return !b->Loading(); }, TimeoutMs);
}

TBlockedFolder::TBlockedFolder(const QString& APath) : FPath(APath)
{
    EXPECT_TRUE(QDir(APath).removeRecursively());
    QFile f(APath);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << APath.toStdString();
}

TBlockedFolder::~TBlockedFolder()
{
    QFile::remove(FPath);
}

TLabelMainForm& TEditorFixture::Create(bool show)
{
    TMainFormDeps deps;
    deps.Dialogs = &Dialogs;
    deps.TickMs = [this] { return Now; };
    deps.Ble = &Ble;
    Form = std::make_unique<TLabelMainForm>(deps);
    if (show) {
        Form->show();
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    EXPECT_TRUE(WaitForTemplates(*Form));
    return *Form;
}
