#include "app/app_setup.h"
#include "app/pellwerk_application.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    TPellwerkApplication app(argc, argv);
    SetupApplication(app);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MIRVO Pellwerk"));
    window.resize(1400, 860);
    window.show();
    return app.exec();
}
