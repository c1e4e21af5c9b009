#include "platform/net/download.h"

#include "platform/base/version.h"

#include <QFile>
#include <QLibrary>
#include <QLoggingCategory>
#include <QTemporaryFile>
#include <QUrl>

#include <curl/curl.h>

#include <string>

#include <memory>
#include <mutex>
#include <type_traits>

#include <cstdio>

namespace velmora {
namespace {

Q_LOGGING_CATEGORY(lcDownload, "velmora.download")

// The transfer library is opened on the first download rather than linked: linking it loads
// some twenty libraries and runs their constructors before main, a large part of the start-up
// of a program that downloads only when an update check runs. The pointers take their types
// from the library's own declarations.
struct Curl {
    decltype(&::curl_global_init) globalInit = nullptr;
    decltype(&::curl_easy_init) easyInit = nullptr;
    decltype(&::curl_easy_setopt) setopt = nullptr;
    decltype(&::curl_easy_perform) perform = nullptr;
    decltype(&::curl_easy_getinfo) getinfo = nullptr;
    decltype(&::curl_easy_cleanup) cleanup = nullptr;

    bool complete() const {
        return globalInit && easyInit && setopt && perform && getinfo && cleanup;
    }
};

std::once_flag g_initOnce;
Curl g_curl; // written once under g_initOnce, read-only afterwards

std::mutex g_settingsMutex;
DownloadTimeouts g_timeouts;
QByteArray g_certificateAuthorities;

constexpr long MaxRedirects = 5;
constexpr const char* AllowedProtocols = "http,https";
// Once on https, never back to plain http: an answer anyone on the path could replace.
constexpr const char* SecureProtocols = "https";

struct Transfer {
    QTemporaryFile* file = nullptr;
    DownloadProgress* progress = nullptr;
    qint64 maxBytes = NoSizeLimit;
    qint64 written = 0;
};

// Writes each piece as it arrives; answering fewer bytes than offered makes the library fail the
// transfer with a write error.
size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const auto length = static_cast<qint64>(size * count);
    if (length > transfer->maxBytes - transfer->written)
        return 0;
    if (transfer->file->write(data, length) != length || !transfer->file->flush())
        return 0;
    transfer->written += length;
    if (DownloadProgress* progress = transfer->progress) {
        progress->received.store(transfer->written);
        if (progress->written)
            progress->written(transfer->written);
    }
    return size * count;
}

// Called during the transfer, also while nothing arrives; a non-zero answer aborts it.
int checkCancelled(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->progress && transfer->progress->cancelled.load() ? 1 : 0;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { g_curl.cleanup(handle); }
};

Curl openCurl() {
    // The library stays loaded for the rest of the process.
    QLibrary library(QStringLiteral("curl"), 4);
    if (!library.load()) {
        qCWarning(lcDownload, "downloads are unavailable: %s",
                  qUtf8Printable(library.errorString()));
        return {};
    }
    Curl curl;
    const auto resolve = [&library](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
    };
    resolve(curl.globalInit, "curl_global_init");
    resolve(curl.easyInit, "curl_easy_init");
    resolve(curl.setopt, "curl_easy_setopt");
    resolve(curl.perform, "curl_easy_perform");
    resolve(curl.getinfo, "curl_easy_getinfo");
    resolve(curl.cleanup, "curl_easy_cleanup");
    if (!curl.complete() || curl.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        qCWarning(lcDownload, "downloads are unavailable: %s could not be set up",
                  qUtf8Printable(library.fileName()));
        return {};
    }
    return curl;
}

} // namespace

bool initDownloads() {
    // The library's global set-up is safe to run beside other threads from version 7.84 on, and
    // no other part of the program uses what it sets up; the once-flag keeps it to one run.
    std::call_once(g_initOnce, [] { g_curl = openCurl(); });
    return g_curl.complete();
}

void setDownloadTimeouts(DownloadTimeouts timeouts) {
    const std::lock_guard lock(g_settingsMutex);
    g_timeouts = timeouts;
}

DownloadTimeouts downloadTimeouts() {
    const std::lock_guard lock(g_settingsMutex);
    return g_timeouts;
}

void setDownloadCertificateAuthorities(const QString& file) {
    const std::lock_guard lock(g_settingsMutex);
    g_certificateAuthorities = QFile::encodeName(file);
}

bool downloadFile(const QString& url, const QString& fileName, DownloadProgress* progress,
                  DownloadLimits limits) {
    if (!initDownloads())
        return false;
    DownloadTimeouts timeouts;
    QByteArray certificateAuthorities;
    {
        const std::lock_guard lock(g_settingsMutex);
        timeouts = g_timeouts;
        certificateAuthorities = g_certificateAuthorities;
    }
    // Spaces and non-ASCII host names are encoded the way a browser would; anything QUrl cannot
    // read goes as typed, and the library refuses it.
    const QUrl parsed(url, QUrl::TolerantMode);
    const QByteArray address = parsed.isValid() ? parsed.toEncoded() : url.toUtf8();

    const std::unique_ptr<CURL, EasyDeleter> handle(g_curl.easyInit());
    if (!handle)
        return false;
    // A fresh temporary file of mode 0600 beside the target (QSaveFile would take the mode of the
    // file it replaces, an installer's execute bit included); unless renamed onto the target, it
    // is removed when `file` goes.
    QTemporaryFile file(fileName + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return false;
    Transfer transfer{&file, progress, limits.maxBytes};
    if (progress) {
        progress->received.store(0);
        if (progress->written)
            progress->written(0);
    }

    CURL* easy = handle.get();
    g_curl.setopt(easy, CURLOPT_URL, address.constData());
    g_curl.setopt(easy, CURLOPT_NOSIGNAL, 1L);
    g_curl.setopt(easy, CURLOPT_FAILONERROR, 1L);
    // A library too old to know these options would follow any scheme: refuse the transfer.
    // Only an address read as plain http may be redirected to plain http.
    const bool plain = parsed.isValid() &&
                       parsed.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0;
    if (g_curl.setopt(easy, CURLOPT_PROTOCOLS_STR, AllowedProtocols) != CURLE_OK ||
        g_curl.setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR,
                      plain ? AllowedProtocols : SecureProtocols) != CURLE_OK)
        return false;
    if (!certificateAuthorities.isEmpty())
        g_curl.setopt(easy, CURLOPT_CAINFO, certificateAuthorities.constData());
    g_curl.setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    g_curl.setopt(easy, CURLOPT_MAXREDIRS, MaxRedirects);
    g_curl.setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connectMilliseconds));
    g_curl.setopt(easy, CURLOPT_LOW_SPEED_LIMIT, static_cast<long>(timeouts.lowSpeedBytes));
    g_curl.setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.lowSpeedSeconds));
    if (limits.brief)
        g_curl.setopt(easy, CURLOPT_TIMEOUT, static_cast<long>(timeouts.briefSeconds));
    static const std::string agent = std::string("Velmora/") + version::Text;
    g_curl.setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    if (limits.maxBytes != NoSizeLimit)
        g_curl.setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    g_curl.setopt(easy, CURLOPT_WRITEFUNCTION, writeBody);
    g_curl.setopt(easy, CURLOPT_WRITEDATA, &transfer);
    g_curl.setopt(easy, CURLOPT_NOPROGRESS, 0L);
    g_curl.setopt(easy, CURLOPT_XFERINFOFUNCTION, checkCancelled);
    g_curl.setopt(easy, CURLOPT_XFERINFODATA, &transfer);

    if (g_curl.perform(easy) != CURLE_OK)
        return false;
    long status = 0;
    curl_off_t announced = -1;
    g_curl.getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    g_curl.getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (status < 200 || status > 299)
        return false;
    if (announced >= 0 && announced != transfer.written)
        return false;
    if (!file.flush())
        return false;
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(fileName).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

} // namespace velmora
