#pragma once

#include <QString>

#include <exception>

namespace velmora {

// A failure that ends the handler it happens in and reaches the standard error report.
// The message is the text the user reads, without the closing full stop.
class Failure : public std::exception {
public:
    explicit Failure(QString message) : m_message(std::move(message)) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return "velmora::Failure"; }

private:
    QString m_message;
};

// A failure's message as the standard error report shows it: with a full stop added when its
// last character sorts after ".".
inline QString withFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

} // namespace velmora
