#pragma once
// The white titled group of the properties panel.
#include <QString>

class QWidget;

// A panel inside Parent (which owns it, and is itself owned by Owner's window
// tree; Owner is the parent only when Parent is null), painted white by itself
// whatever the style says, the given height, and a title label at (14, 10) in
// the semibold UI font, 10 pt, RGB(32,32,32). The caller places the panel.
QWidget* CreateGroupPanel(QWidget* Owner, QWidget* Parent, const QString& Title, int Height);
