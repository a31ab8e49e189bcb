#pragma once

class QApplication;

// Gives the application its name, the Fusion style with a light palette and
// Qt's own German texts for standard buttons and dialogs.
void SetupApplication(QApplication& app);
