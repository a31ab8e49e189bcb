#pragma once
// The one exception type of the label model. The message is the German text
// the user sees; what() carries it as UTF-8 so callers that only know
// std::exception can still show it unchanged.

#include <QString>
#include <stdexcept>

class EModelError : public std::runtime_error {
public:
    explicit EModelError(const QString& AMessage)
        : std::runtime_error(AMessage.toStdString()), FMessage(AMessage) {}

    const QString& Message() const noexcept { return FMessage; }

private:
    QString FMessage;
};
