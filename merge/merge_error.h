#pragma once
// Failures of a data merge: a data file that cannot be read, a field without
// a column, a record range that does not fit. The message is the German text
// the user sees; what() carries it as UTF-8.

#include <QString>
#include <stdexcept>

class EMergeError : public std::runtime_error {
public:
    explicit EMergeError(const QString& AMessage)
        : std::runtime_error(AMessage.toStdString()), FMessage(AMessage) {}

    const QString& Message() const noexcept { return FMessage; }

private:
    QString FMessage;
};
