#pragma once

#include "platform/base/failure.h"

#include <QObject>
#include <QString>

#include <utility>

namespace velmora {

// The application title: caption of the standard error report and the taskbar text.
QString applicationTitle();

// The standard error report: a modal box with the application title as caption, the message
// followed by a full stop when its last character sorts after ".", the error icon and OK.
void showErrorReport(const QString& message);

// The words of the error report in the user's language, from a layer above this one: the
// caption, and a failure's message. Either may be unset, or answer empty, and the English
// words stay (the application title, the failure's own message).
struct ErrorReportWording {
    QString (*caption)() = nullptr;
    QString (*message)(const Failure& failure) = nullptr;
};
void setErrorReportWording(ErrorReportWording wording);
// The report of a failure as the user reads it: its message in the user's language, with the
// full stop.
QString failureReportText(const Failure& failure);

// Runs a body that Qt called into. A failure must not unwind through Qt's frames, so it is
// caught here and shown by the standard error report; the event loop then goes on. True when
// the body completed, false when a failure abandoned it.
template <typename Body> bool guarded(Body&& body) noexcept;

// Connects a signal to a body that runs under guarded().
template <typename Sender, typename Signal, typename Body>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QObject* context, Body body) {
    return QObject::connect(sender, signal, context,
                            [body = std::move(body)](auto&&...) { guarded(body); });
}

namespace detail {
void reportCurrentException() noexcept;
}

template <typename Body> bool guarded(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        detail::reportCurrentException();
        return false;
    }
}

} // namespace velmora
