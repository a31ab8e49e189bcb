#include "editor/controls/modern_button.h"

#include "editor/controls/icon_font.h"
#include "editor/controls/ui_font.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

namespace col = modern_button_colors;

// A rectangle given as left, top, right, bottom with right and bottom exclusive,
// the way every rectangle of this control is worked out.
QRect Ltrb(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

int ExclRight(const QRect& r) { return r.left() + r.width(); }
int ExclBottom(const QRect& r) { return r.top() + r.height(); }

// Material symbols sit inside a 20/24 part of their em box while the Windows
// icon fonts fill theirs; the Material font is drawn larger so that both show
// a symbol 17 pixels high.
int IconPixelSize(const QString& family)
{
    return family == QLatin1String("Material Icons") ? 20 : 17;
}

} // namespace

TModernButton::TModernButton(QWidget* AOwner)
    : QWidget(AOwner)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    resize(64, 56);
}

void TModernButton::SetCaption(const QString& value)
{
    if (FCaption == value)
        return;
    FCaption = value;
    update();
}

void TModernButton::SetHint(const QString& value)
{
    FHint = value;
    setToolTip(FShowHint ? FHint : QString());
}

void TModernButton::SetShowHint(bool value)
{
    FShowHint = value;
    setToolTip(FShowHint ? FHint : QString());
}

void TModernButton::SetAccent(bool value)
{
    FAccent = value;
    update();
}

void TModernButton::SetChecked(bool value)
{
    if (FChecked == value)
        return;
    FChecked = value;
    update();
}

void TModernButton::SetCompact(bool value)
{
    FCompact = value;
    if (value)
        resize(width(), 32);
    update();
}

QFont TModernButton::CaptionFont() const
{
    return UiFont(FCompact ? 9 : 8, FAccent ? TUiWeight::Bold : TUiWeight::Regular);
}

void TModernButton::AutoWidth()
{
    // Measured in the regular weight: the accent style is switched on after the
    // toolbar has sized its buttons.
    if (FCompact) {
        if (FCaption.isEmpty())
            resize(34, height());
        else
            resize(QFontMetrics(UiFont(9)).horizontalAdvance(FCaption) + 46, height());
    } else {
        resize(std::max(52, QFontMetrics(UiFont(8)).horizontalAdvance(FCaption) + 18), height());
    }
}

QColor TModernButton::TextColor() const
{
    if (FAccent)
        return col::White;
    return isEnabled() ? col::Text : col::TextDisabled;
}

QColor TModernButton::BackgroundColor(bool* hasBackground) const
{
    *hasBackground = true;
    if (FAccent) {
        if (!isEnabled())
            return col::AccentDisabled;
        if (FDown)
            return col::AccentPressed;
        if (FHover)
            return col::AccentHover;
        return col::Accent;
    }
    if (FDown)
        return col::Pressed;
    if (FChecked)
        return col::Checked;
    if (FHover && isEnabled())
        return col::Hover;
    *hasBackground = false;
    return QColor();
}

QRect TModernButton::InnerRect() const
{
    return Ltrb(1, 1, width() - 1, height() - 1);
}

QRect TModernButton::IconRect() const
{
    const QRect r = InnerRect();
    if (FCompact) {
        if (FCaption.isEmpty())
            return r;
        return Ltrb(r.left() + 6, r.top(), r.left() + 30, ExclBottom(r));
    }
    return Ltrb(r.left(), r.top() + 4, ExclRight(r), r.top() + 30);
}

QRect TModernButton::TextRect() const
{
    const QRect r = InnerRect();
    if (FCompact)
        return Ltrb(ExclRight(IconRect()) + 4, r.top(), ExclRight(r) - 6, ExclBottom(r));
    return Ltrb(r.left() + 2, r.top() + 31, ExclRight(r) - 2, ExclBottom(r));
}

QString TModernButton::DisplayedCaption() const
{
    return QFontMetrics(CaptionFont()).elidedText(FCaption, Qt::ElideRight, std::max(0, TextRect().width()));
}

void TModernButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect r = InnerRect();

    bool hasBackground = false;
    const QColor bg = BackgroundColor(&hasBackground);
    if (hasBackground && r.width() > 0 && r.height() > 0) {
        const bool checkedBorder = !FAccent && !FDown && FChecked;
        p.setPen(QPen(checkedBorder ? col::Accent : bg, 1));
        p.setBrush(bg);
        // Corners are quarters of an 8 x 8 ellipse; the half-pixel inset keeps
        // the 1-pixel outline inside r.
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }

    const QColor fg = TextColor();
    DrawIcon(p, IconRect(), fg);

    if (!FCaption.isEmpty()) {
        p.setFont(CaptionFont());
        p.setPen(fg);
        p.setBrush(Qt::NoBrush);
        const int align = FCompact ? (Qt::AlignLeft | Qt::AlignVCenter) : (Qt::AlignHCenter | Qt::AlignTop);
        p.drawText(TextRect(), align | Qt::TextSingleLine, DisplayedCaption());
    }
}

void TModernButton::DrawIcon(QPainter& p, const QRect& R, const QColor& Colour) const
{
    const int cx = (R.left() + ExclRight(R)) / 2;
    const int cy = (R.top() + ExclBottom(R)) / 2;

    if (FIcon == ikGlyph) {
        const QString family = IconFontName();
        const char16_t ch = IconFontGlyph(family, FGlyph);
        if (ch == 0)
            return;
        QFont f(family);
        f.setPixelSize(IconPixelSize(family));
        f.setWeight(QFont::Normal);
        f.setItalic(false);
        // Never let another font stand in for a missing symbol: that would draw
        // a box or a letter instead of an icon.
        f.setStyleStrategy(QFont::NoFontMerging);
        p.setFont(f);
        p.setPen(Colour);
        p.drawText(R, Qt::AlignCenter | Qt::TextSingleLine, QString(QChar(ch)));
        return;
    }

    // Line drawings: 2-pixel pen centred on whole-pixel coordinates covers
    // exactly two pixel columns; 1-pixel lines are moved to pixel centres.
    QPen thick(Colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QPen thin(Colour, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setBrush(Qt::NoBrush);
    p.setPen(thick);
    auto rectOf = [&](int l, int t, int r, int b) {
        // right and bottom are exclusive: the outline runs through the last pixel.
        return QRectF(cx + l, cy + t, (r - l) - 1, (b - t) - 1);
    };
    auto thinLine = [&](int x1, int y1, int x2, int y2) {
        p.drawLine(QLineF(cx + x1, cy + y1 + 0.5, cx + x2, cy + y2 + 0.5));
    };

    switch (FIcon) {
    case ikRect:
        p.drawRect(rectOf(-8, -6, 9, 7));
        break;
    case ikEllipse:
        p.drawEllipse(rectOf(-8, -7, 9, 8));
        break;
    case ikLine:
        p.drawLine(QLineF(cx - 8, cy + 6, cx + 9, cy - 7));
        break;
    case ikPortrait:
        p.drawRect(rectOf(-6, -9, 7, 10));
        p.setPen(thin);
        thinLine(-3, -4, 4, -4);
        thinLine(-3, 0, 4, 0);
        thinLine(-3, 4, 2, 4);
        break;
    case ikLandscape:
        p.drawRect(rectOf(-9, -6, 10, 7));
        p.setPen(thin);
        thinLine(-5, -2, 6, -2);
        thinLine(-5, 2, 3, 2);
        break;
    case ikFit: {
        const int corners[4][6] = {
            {-9, -3, -9, -8, -3, -8},
            {3, -8, 9, -8, 9, -3},
            {9, 3, 9, 8, 3, 8},
            {-3, 8, -9, 8, -9, 3},
        };
        for (const auto& c : corners) {
            const QPointF pts[3] = {{double(cx + c[0]), double(cy + c[1])},
                                    {double(cx + c[2]), double(cy + c[3])},
                                    {double(cx + c[4]), double(cy + c[5])}};
            p.drawPolyline(pts, 3);
        }
        break;
    }
    case ikGlyph:
        break;
    }
    p.setPen(QPen(Colour, 1));
}

void TModernButton::SetHover(bool value)
{
    if (FHover == value)
        return;
    FHover = value;
    if (!value)
        FDown = false;
    update();
}

void TModernButton::enterEvent(QEnterEvent*)
{
    SetHover(true);
}

void TModernButton::leaveEvent(QEvent*)
{
    FHover = false;
    FDown = false;
    update();
}

void TModernButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        FDown = true;
        FClickPending = true;
        update();
    }
    event->accept();
}

void TModernButton::mouseMoveEvent(QMouseEvent* event)
{
    // While a button is held the control keeps the mouse; leaving and coming
    // back are seen here as well as through enter and leave events.
    if (event->buttons() != Qt::NoButton)
        SetHover(rect().contains(event->position().toPoint()));
    event->accept();
}

void TModernButton::mouseReleaseEvent(QMouseEvent* event)
{
    FDown = false;
    update();
    const bool click = event->button() == Qt::LeftButton && FClickPending
                       && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        FClickPending = false;
    event->accept();
    if (click && isEnabled())
        emit clicked();
}

void TModernButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            FDown = false;
            FClickPending = false;
        }
        update();
    }
    QWidget::changeEvent(event);
}
