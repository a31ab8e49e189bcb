// The real message boxes: a user's text is shown as typed, never taken for
// rich text, and the answers come back as the buttons say.
#include "editor/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs Act on the next message box from inside its own event loop.
class TBoxAnswer {
public:
    explicit TBoxAnswer(std::function<void(QMessageBox*)> Act) : FAct(std::move(Act))
    {
        FTimer.setInterval(10);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            FTimer.stop();
            Format = box->textFormat();
            Text = box->text();
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                Shown = label->text();
            FAct(box);
        });
        FTimer.start();
    }
    Qt::TextFormat Format = Qt::AutoText;
    QString Text;
    QString Shown;

private:
    std::function<void(QMessageBox*)> FAct;
    QTimer FTimer;
};

void Press(QMessageBox* Box, QMessageBox::StandardButton B)
{
    Box->button(B)->click();
}

TEST(MessageBoxes, UserTextIsPlainAndAnswersComeBack)
{
    TQtDialogs dialogs;
    const QString name = QStringLiteral("Änderungen an \"<Preis>\" speichern? <b>fett</b> &amp;");
    const struct {
        const char* Kind;
        std::function<int()> Ask;
        std::function<void(QMessageBox*)> Act;
        int Expected;
    } cases[] = {
        {"error", [&] { dialogs.ShowError(nullptr, name); return 0; },
         [](QMessageBox* b) { Press(b, QMessageBox::Ok); }, 0},
        {"warning", [&] { dialogs.ShowWarning(nullptr, name); return 0; },
         [](QMessageBox* b) { Press(b, QMessageBox::Ok); }, 0},
        {"info", [&] { dialogs.ShowInfo(nullptr, name); return 0; },
         [](QMessageBox* b) { Press(b, QMessageBox::Ok); }, 0},
        {"yes/no yes", [&] { return int(dialogs.AskYesNo(nullptr, name)); },
         [](QMessageBox* b) { Press(b, QMessageBox::Yes); }, 1},
        {"yes/no escape", [&] { return int(dialogs.AskYesNo(nullptr, name)); },
         [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, 0},
        {"yes/no/cancel no", [&] { return int(dialogs.AskYesNoCancel(nullptr, name)); },
         [](QMessageBox* b) { Press(b, QMessageBox::No); }, int(TDialogs::TAnswer::No)},
        {"yes/no/cancel escape", [&] { return int(dialogs.AskYesNoCancel(nullptr, name)); },
         [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, int(TDialogs::TAnswer::Cancel)},
        {"yes/no/cancel yes", [&] { return int(dialogs.AskYesNoCancel(nullptr, name)); },
         [](QMessageBox* b) { Press(b, QMessageBox::Yes); }, int(TDialogs::TAnswer::Yes)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        TBoxAnswer answer(c.Act);
        EXPECT_EQ(c.Ask(), c.Expected);
        EXPECT_EQ(answer.Format, Qt::PlainText);
        EXPECT_EQ(answer.Text, name);
        EXPECT_EQ(answer.Shown, name);
    }
}

}  // namespace
