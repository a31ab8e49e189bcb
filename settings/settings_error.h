#pragma once
// The one exception type of the settings. The message is the German text the
// user sees; what() carries it as UTF-8 so callers that only know
// std::exception can show it unchanged.

#include <QString>
#include <stdexcept>

class ESettingsError : public std::runtime_error {
public:
    explicit ESettingsError(const QString& AMessage)
        : std::runtime_error(AMessage.toStdString()), FMessage(AMessage) {}

    const QString& Message() const noexcept { return FMessage; }

private:
    QString FMessage;
};
