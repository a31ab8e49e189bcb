#pragma once
// The flat, self-painted button of the toolbar and the templates panel: no
// border at rest, a light rounded background under the mouse, an icon above or
// beside the caption, a blue variant for the main action and a checked state
// for toggles. It takes no keyboard focus; the parent's background shows
// through wherever the button paints nothing.
#include <QColor>
#include <QString>
#include <QWidget>

enum TIconKind {
    ikGlyph = 0, // the character FGlyph of the icon font
    ikRect = 1,
    ikEllipse = 2,
    ikLine = 3,
    ikPortrait = 4,
    ikLandscape = 5,
    ikFit = 6,
};

namespace modern_button_colors {
inline const QColor Accent{0, 120, 215};
inline const QColor AccentHover{26, 134, 224};
inline const QColor AccentPressed{0, 90, 158};
inline const QColor AccentDisabled{200, 200, 200};
inline const QColor Hover{235, 235, 235};
inline const QColor Pressed{220, 220, 220};
inline const QColor Checked{204, 228, 247};
inline const QColor Text{32, 32, 32};
inline const QColor TextDisabled{168, 168, 168};
inline const QColor White{255, 255, 255};
} // namespace modern_button_colors

class TModernButton : public QWidget {
    Q_OBJECT
public:
    explicit TModernButton(QWidget* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);

    // Set before the button is first shown; they do not repaint by themselves.
    char16_t Glyph() const { return FGlyph; }
    void SetGlyph(char16_t value) { FGlyph = value; }
    TIconKind Icon() const { return FIcon; }
    void SetIcon(TIconKind value) { FIcon = value; }

    bool Accent() const { return FAccent; }
    void SetAccent(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Compact() const { return FCompact; }
    void SetCompact(bool value);

    bool Hover() const { return FHover; }
    bool Down() const { return FDown; }

    // Width from the caption; called once by the code that creates the button.
    void AutoWidth();

    // The caption font: "Segoe UI" (or its stand-in), 9 pt compact, 8 pt
    // normal, bold for the accent button.
    QFont CaptionFont() const;
    // Background and caption colour for the current state.
    QColor BackgroundColor(bool* hasBackground) const;
    QColor TextColor() const;
    // The caption as it is drawn, cut with an ellipsis when it does not fit.
    QString DisplayedCaption() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect InnerRect() const;
    QRect IconRect() const;
    QRect TextRect() const;
    void DrawIcon(QPainter& painter, const QRect& R, const QColor& Colour) const;
    void SetHover(bool value);

    QString FCaption;
    QString FHint;
    bool FShowHint = false;
    bool FHover = false;
    bool FDown = false;
    bool FAccent = false;
    bool FChecked = false;
    bool FCompact = false;
    char16_t FGlyph = 0;
    TIconKind FIcon = ikGlyph;
    // A left press began on the button and its release is still to come; the
    // release over the button is a click even when FDown was cleared on the way.
    bool FClickPending = false;
};
