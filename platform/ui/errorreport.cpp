#include "platform/ui/errorreport.h"

#include "platform/base/failure.h"
#include "platform/ui/messagebox.h"

#include <exception>
#include <new>

namespace velmora {

QString applicationTitle() {
    return QStringLiteral("Velmora");
}

void showErrorReport(const QString& message) {
    showMessageBox(withFullStop(message), applicationTitle(), MessageFlags::ErrorOk);
}

namespace detail {

void reportCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const Failure& failure) {
            showErrorReport(failure.message());
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
