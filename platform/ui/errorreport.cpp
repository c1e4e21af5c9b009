#include "platform/ui/errorreport.h"

#include "platform/base/failure.h"
#include "platform/ui/messagebox.h"

#include <exception>
#include <new>

namespace velmora {

QString applicationTitle() {
    return QStringLiteral("Velmora");
}

namespace {

ErrorReportWording& wording() {
    static ErrorReportWording words;
    return words;
}

QString reportCaption() {
    const QString caption = wording().caption ? wording().caption() : QString();
    return caption.isEmpty() ? applicationTitle() : caption;
}

} // namespace

void setErrorReportWording(ErrorReportWording words) {
    wording() = words;
}

QString failureReportText(const Failure& failure) {
    const QString text = wording().message ? wording().message(failure) : QString();
    return withFullStop(text.isEmpty() ? failure.message() : text);
}

void showErrorReport(const QString& message) {
    showMessageBox(withFullStop(message), reportCaption(), MessageFlags::ErrorOk);
}

namespace detail {

void reportCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const Failure& failure) {
            showMessageBox(failureReportText(failure), reportCaption(), MessageFlags::ErrorOk);
        } catch (const std::bad_alloc&) {
            showErrorReport(QStringLiteral("Out of memory"));
        } catch (const std::exception& error) {
            showErrorReport(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            showErrorReport(QStringLiteral("Unknown failure"));
        }
    } catch (...) {
        // Showing the report itself failed; there is nothing left to tell the user with.
    }
}

} // namespace detail
} // namespace velmora
