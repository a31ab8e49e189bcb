#include "cli/cli_qt_messages.h"

#include <QtGlobal>

namespace {

QtMessageHandler PreviousHandler = nullptr;

void FilterQtMessage(QtMsgType Type, const QMessageLogContext& Context, const QString& Text)
{
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        PreviousHandler(Type, Context, Text);
}

} // namespace

void QuietQtMessages()
{
    if (!qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        return;
    PreviousHandler = qInstallMessageHandler(FilterQtMessage);
}
