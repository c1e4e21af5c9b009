#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <limits>

namespace velmora {

// Opens and prepares the transfer library for the whole process the first time it is called,
// from any thread; the first download calls it. True when downloads are possible.
bool initDownloads();

// How long a transfer may wait. A server that sends less than lowSpeedBytes a second for
// lowSpeedSeconds, a stalled one among them, ends the transfer; one that keeps sending faster goes
// on, unless the transfer asked to be brief: that one ends after briefSeconds in all, however it
// goes.
struct DownloadTimeouts {
    int connectMilliseconds = 15'000;
    int lowSpeedSeconds = 30;
    int briefSeconds = 60;
    int lowSpeedBytes = 1024;
};

// The time-outs every later transfer uses (tests shorten them).
void setDownloadTimeouts(DownloadTimeouts timeouts);
DownloadTimeouts downloadTimeouts();

// Shared between a transfer and the threads that watch it.
struct DownloadProgress {
    // Bytes written so far; -1 until the transfer has started writing its file.
    std::atomic<qint64> received{-1};
    // Set from any thread to end the transfer as failed.
    std::atomic<bool> cancelled{false};
    // Called on the transfer's thread with the bytes written so far: 0 when the file is ready,
    // then after every piece. Set before the transfer starts.
    std::function<void(qint64 received)> written;
};

inline constexpr qint64 NoSizeLimit = std::numeric_limits<qint64>::max();

// What one transfer may take.
struct DownloadLimits {
    qint64 maxBytes = NoSizeLimit; // a longer body fails
    bool brief = false;            // ends after the time-outs' briefSeconds in all
};

// The certificate authorities that https transfers trust: the file's, or the system's when it is
// empty (the default). For tests that serve https themselves.
void setDownloadCertificateAuthorities(const QString& file);

// Downloads url into fileName, blocking until the transfer has ended. Only http and https are
// followed, redirects included (at most 5), and a transfer that starts on https stays on https.
// The body goes into a fresh temporary file (mode 0600) beside fileName that replaces fileName
// only when the transfer is complete: no error, a 2xx answer, and as many bytes as the server
// announced. True exactly then; otherwise fileName is left as it was and no temporary file remains.
bool downloadFile(const QString& url, const QString& fileName, DownloadProgress* progress = nullptr,
                  DownloadLimits limits = {});

} // namespace velmora
