#pragma once
// The four-panel status line of the main window. A click anywhere on it is
// the user's way into the printer setup, so the whole bar is one click target.

#include <QWidget>
#include <array>
#include <functional>

class QLabel;

class TStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent);
    void SetText(int index, const QString& text);
    QString Text(int index) const;
    std::function<void()> OnClick;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void PlacePanels();
    std::array<QLabel*, 4> FPanels{};
};
