#pragma once

#include <QString>

#include <exception>
#include <string>

namespace velmora {

// What a failure is about, so that its report can be worded in the user's language; Other for a
// failure whose text is given as it is.
enum class FailureKind {
    Other,
    InvalidOperation, // "Invalid floating point operation"
    DivisionByZero,   // "Floating point division by zero"
    Overflow,         // "Floating point overflow"
    NotAFloat,        // "'%1' is not a valid floating point value"
    NotAnInteger,     // "''%1'' is not a valid integer value"
    StoreInvalidType, // "Invalid data type for '%1'"
    StoreReadFailed,  // "Failed to get data for '%1'"
    StoreWriteFailed, // "Failed to set data for '%1'"
};

// The English words of a failure of a known kind, %1 standing for its subject; empty for Other.
QString englishFailureText(FailureKind kind);

// A failure that ends the handler it happens in and reaches the standard error report.
// The message is the text the user reads, without the closing full stop.
class Failure : public std::exception {
public:
    explicit Failure(QString message) : m_message(std::move(message)) { keepWhat(); }
    // A failure of a known kind about a subject (the text, the setting's name).
    explicit Failure(FailureKind kind, const QString& subject = {})
        : m_kind(kind), m_subject(subject),
          m_message(englishFailureText(kind).replace(QLatin1String("%1"), subject)) {
        keepWhat();
    }

    const QString& message() const noexcept { return m_message; }
    FailureKind kind() const noexcept { return m_kind; }
    const QString& subject() const noexcept { return m_subject; }
    // The message in UTF-8.
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    void keepWhat() { m_what = m_message.toStdString(); }

    FailureKind m_kind = FailureKind::Other;
    QString m_subject;
    QString m_message;
    std::string m_what;
};

inline QString englishFailureText(FailureKind kind) {
    switch (kind) {
    case FailureKind::Other:
        break;
    case FailureKind::InvalidOperation:
        return QStringLiteral("Invalid floating point operation");
    case FailureKind::DivisionByZero:
        return QStringLiteral("Floating point division by zero");
    case FailureKind::Overflow:
        return QStringLiteral("Floating point overflow");
    case FailureKind::NotAFloat:
        return QStringLiteral("'%1' is not a valid floating point value");
    case FailureKind::NotAnInteger:
        return QStringLiteral("''%1'' is not a valid integer value");
    case FailureKind::StoreInvalidType:
        return QStringLiteral("Invalid data type for '%1'");
    case FailureKind::StoreReadFailed:
        return QStringLiteral("Failed to get data for '%1'");
    case FailureKind::StoreWriteFailed:
        return QStringLiteral("Failed to set data for '%1'");
    }
    return {};
}

// A failure's message as the standard error report shows it: with a full stop added when its
// last character sorts after ".".
inline QString withFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

} // namespace velmora
