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

} // namespace velmora
