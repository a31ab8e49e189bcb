// Code elements in the editor: the toolbar button, the "Code" group of the
// properties panel with its controls, undo, duplicate and the refused print.
#include "editor_fixture.h"

#include "editor/controls/modern_button.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class CodeGroup : public ::testing::Test {
public:
    void SetUp() override
    {
        ResetDataFolder();
        F.Create();
    }

    TLabelMainForm& Form() { return *F.Form; }
    TLabelDoc& Doc() { return F.Form->Doc(); }

    template <class T>
    T* Ctl(const char* Name)
    {
        T* W = F.Form->findChild<T*>(QLatin1String(Name));
        if (!W)
            throw std::runtime_error(std::string("no control ") + Name);
        return W;
    }

    TModernButton* Button(const QString& Caption)
    {
        for (TModernButton* B : F.Form->findChildren<TModernButton*>())
            if (B->Caption() == Caption)
                return B;
        return nullptr;
    }

    void Pick(const char* Combo, const QString& Item)
    {
        QComboBox* C = Ctl<QComboBox>(Combo);
        const int I = C->findText(Item);
        ASSERT_GE(I, 0) << Item.toStdString();
        C->setCurrentIndex(I);
    }

    TEditorFixture F;
};

TEST_F(CodeGroup, ToolbarButtonInsertsAQrCodeReadyForTyping)
{
    TModernButton* Code = Button(QStringLiteral("Code"));
    TModernButton* Line = Button(QStringLiteral("Linie"));
    ASSERT_TRUE(Code && Line);
    // Right beside "Linie", with the toolbar's usual small gap.
    EXPECT_GE(Code->x(), Line->x() + Line->width());
    EXPECT_LE(Code->x(), Line->x() + Line->width() + 4);
    EXPECT_EQ(Code->Glyph(), 0xED14);

    QTest::mouseClick(Code, Qt::LeftButton, {}, Code->rect().center());
    ASSERT_EQ(Doc().Elements.Count(), 1);
    const TLabelElement* E = Doc().Elements[0];
    EXPECT_EQ(E->Kind, ekCode);
    EXPECT_EQ(E->CodeType, ctQr);
    EXPECT_EQ(Form().Selected(), E);
    EXPECT_EQ(QRect(E->X, E->Y, E->W, E->H), QRect(112, 40, 160, 160));
    EXPECT_EQ(Form().UndoCount(), 1);

    QLineEdit* Data = Ctl<QLineEdit>("EdCodeData");
    EXPECT_EQ(Form().focusWidget(), Data);
    EXPECT_EQ(Data->selectedText(), QStringLiteral("https://"));
    EXPECT_TRUE(Ctl<QWidget>("GbCode")->isVisible());
    for (const char* G : {"GbText", "GbImage", "GbShape"})
        EXPECT_FALSE(Ctl<QWidget>(G)->isVisible()) << G;
    EXPECT_EQ(Ctl<QLabel>("LblElemTitle")->text(), QStringLiteral("Code"));
    // "https://" is version 1: 29 modules with the quiet zone, 5 dots each.
    EXPECT_EQ(Ctl<QLabel>("LblCodeSize")->text(), QStringLiteral("5 Punkte pro Modul · 18,1 × 18,1 mm"));

    QTest::keyClicks(Data, QStringLiteral("mirvo.example/{NR}"));
    EXPECT_EQ(E->Text, QStringLiteral("mirvo.example/{NR}"));
}

TEST_F(CodeGroup, EveryControlWritesItsMemberAndEachChangeUndoesAlone)
{
    Form().InsertCode();
    TLabelElement* E = Doc().Elements[0];
    E->W = 384 - 2 * E->X;  // wide enough for a bar code
    Form().RefreshAll();
    QComboBox* Ecc = Ctl<QComboBox>("CbCodeEcc");
    QCheckBox* ShowText = Ctl<QCheckBox>("ChkCodeShowText");
    EXPECT_TRUE(Ecc->isEnabled());
    EXPECT_FALSE(ShowText->isEnabled());  // no text line under a QR code

    Pick("CbCodeEcc", QStringLiteral("H (30 %)"));
    EXPECT_EQ(E->CodeEcc, ceH);
    F.Now += 5000;  // beyond the window that merges typing into one step
    Pick("CbCodeModule", QStringLiteral("3 Punkte"));
    EXPECT_EQ(E->CodeModule, 3);
    EXPECT_TRUE(Ctl<QLabel>("LblCodeSize")->text().startsWith(QStringLiteral("3 Punkte pro Modul")));
    F.Now += 5000;
    Pick("CbCodeType", QStringLiteral("EAN-13"));
    EXPECT_EQ(E->CodeType, ctEan13);
    EXPECT_FALSE(Ecc->isEnabled());
    EXPECT_TRUE(ShowText->isEnabled());
    // "https://" is no EAN-13: the panel says why, as the canvas does.
    EXPECT_EQ(Ctl<QLabel>("LblCodeSize")->text(), QStringLiteral("Code ungültig: EAN-13 erlaubt nur Ziffern"));
    F.Now += 5000;
    QLineEdit* Data = Ctl<QLineEdit>("EdCodeData");
    Data->selectAll();
    QTest::keyClicks(Data, QStringLiteral("400638133393"));
    EXPECT_EQ(E->Text, QStringLiteral("400638133393"));
    F.Now += 5000;
    QTest::mouseClick(ShowText, Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_FALSE(E->CodeShowText);
    EXPECT_TRUE(Doc().Modified);

    const int Steps = Form().UndoCount();
    Form().Undo();
    E = Doc().Elements[0];
    EXPECT_TRUE(E->CodeShowText);
    EXPECT_EQ(E->Text, QStringLiteral("400638133393"));
    Form().Undo();
    E = Doc().Elements[0];
    EXPECT_EQ(E->Text, QStringLiteral("https://"));
    EXPECT_EQ(E->CodeType, ctEan13);
    Form().Undo();
    E = Doc().Elements[0];
    EXPECT_EQ(E->CodeType, ctQr);
    EXPECT_EQ(E->CodeModule, 3);
    EXPECT_EQ(Form().UndoCount(), Steps - 3);
}

TEST_F(CodeGroup, DuplicateKeepsTheCodeAndAnInvalidCodeIsNotPrinted)
{
    Form().InsertCode();
    TLabelElement* E = Doc().Elements[0];
    E->CodeType = ctCode39;
    E->CodeModule = 2;
    E->CodeShowText = false;
    Form().SelectElement(E);
    Form().DuplicateSelected();
    ASSERT_EQ(Doc().Elements.Count(), 2);
    const TLabelElement* Copy = Doc().Elements[1];
    EXPECT_EQ(Copy->Kind, ekCode);
    EXPECT_EQ(Copy->CodeType, ctCode39);
    EXPECT_EQ(Copy->CodeModule, 2);
    EXPECT_FALSE(Copy->CodeShowText);
    EXPECT_EQ(Copy->X, E->X + 8);
    // Nudged like any element, one undo step each.
    const int32_t X = Copy->X;
    const int Steps = Form().UndoCount();
    Form().NudgeSelected(1, 0, true);
    EXPECT_EQ(Copy->X, X + 8);
    EXPECT_EQ(Form().UndoCount(), Steps + 1);

    // "https://" has letters Code 39 lacks: printing names the reason and
    // sends nothing (not even the question about the missing printer).
    Form().PrintLabel();
    EXPECT_EQ(Form().StatusBar()->Text(3),
              QStringLiteral("Code ungültig: Code 39 erlaubt nur A–Z, 0–9, Leerzeichen und - . $ / + %"));
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
    EXPECT_FALSE(Form().IsPrinting());
}

}  // namespace
