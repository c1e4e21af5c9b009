#include "platform/download.h"

#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace velmora {
namespace {

std::once_flag g_initOnce;

std::mutex g_timeoutsMutex;
DownloadTimeouts g_timeouts;

constexpr long MaxRedirects = 5;
constexpr const char* AllowedProtocols = "http,https";

struct Transfer {
    QSaveFile* file = nullptr;
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
    if (transfer->progress)
        transfer->progress->received.store(transfer->written);
    return size * count;
}

// Called during the transfer, also while nothing arrives; a non-zero answer aborts it.
int checkCancelled(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->progress && transfer->progress->cancelled.load() ? 1 : 0;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

} // namespace

void initDownloads() {
    std::call_once(g_initOnce, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void setDownloadTimeouts(DownloadTimeouts timeouts) {
    const std::lock_guard lock(g_timeoutsMutex);
    g_timeouts = timeouts;
}

DownloadTimeouts downloadTimeouts() {
    const std::lock_guard lock(g_timeoutsMutex);
    return g_timeouts;
}

bool downloadFile(const QString& url, const QString& fileName, DownloadProgress* progress,
                  qint64 maxBytes) {
    initDownloads();
    const DownloadTimeouts timeouts = downloadTimeouts();
    // Spaces and non-ASCII host names are encoded the way a browser would; anything QUrl cannot
    // read goes as typed, and the library refuses it.
    const QUrl parsed(url, QUrl::TolerantMode);
    const QByteArray address = parsed.isValid() ? parsed.toEncoded() : url.toUtf8();

    const std::unique_ptr<CURL, EasyDeleter> handle(curl_easy_init());
    if (!handle)
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    Transfer transfer{&file, progress, maxBytes};
    if (progress)
        progress->received.store(0);

    CURL* easy = handle.get();
    curl_easy_setopt(easy, CURLOPT_URL, address.constData());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, AllowedProtocols);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, AllowedProtocols);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(timeouts.connectMilliseconds));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.lowSpeedSeconds));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "Velmora/3.2");
    if (maxBytes != NoSizeLimit)
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, checkCancelled);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);

    if (curl_easy_perform(easy) != CURLE_OK)
        return false;
    long status = 0;
    curl_off_t announced = -1;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (status < 200 || status > 299)
        return false;
    if (announced >= 0 && announced != transfer.written)
        return false;
    // Unless committed, the temporary file is removed when `file` goes.
    return file.commit();
}

} // namespace velmora
