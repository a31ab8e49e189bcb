#include "editor/dialogs.h"
#include "editor/controls/plain_message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>

QString QtFileFilter(const QString& Filter)
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

TDialogs::TAnswer TQtDialogs::AskYesNoCancel(QWidget* parent, const QString& text)
{
    const auto r = PlainMessageBox(QMessageBox::Question, parent, text,
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (r == QMessageBox::Yes)
        return TAnswer::Yes;
    if (r == QMessageBox::No)
        return TAnswer::No;
    return TAnswer::Cancel;
}

bool TQtDialogs::AskYesNo(QWidget* parent, const QString& text)
{
    return PlainMessageBox(QMessageBox::Question, parent, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void TQtDialogs::ShowInfo(QWidget* parent, const QString& text)
{
    PlainMessageBox(QMessageBox::Information, parent, text);
}

void TQtDialogs::ShowWarning(QWidget* parent, const QString& text)
{
    PlainMessageBox(QMessageBox::Warning, parent, text);
}

void TQtDialogs::ShowError(QWidget* parent, const QString& text)
{
    PlainMessageBox(QMessageBox::Critical, parent, text);
}

bool TQtDialogs::InputBox(QWidget* parent, const QString& caption, const QString& prompt, QString& Value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, Value, &ok);
    if (ok)
        Value = answer;
    return ok;
}

QString TQtDialogs::OpenFile(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), QtFileFilter(filter));
}

bool TQtDialogs::ChooseItem(QWidget* parent, const QString& caption, const QString& prompt, const QStringList& Items,
                            int& Index)
{
    bool ok = false;
    const QString answer = QInputDialog::getItem(parent, caption, prompt, Items, Index, false, &ok);
    if (!ok)
        return false;
    Index = Items.indexOf(answer);
    return Index >= 0;
}
