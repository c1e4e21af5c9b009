#pragma once

#include "update/checkforupdates.h"
#include "update/installerplan.h"
#include "update/mythread.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace velmora {

class TForm4;

// True when this installation has an update service: an update server is named, by the build or
// by $VELMORA_UPDATE_SERVER. Without one nothing here goes on the network.
bool updateServiceAvailable();

// The update service on the user-interface thread: it starts the update check and the installer
// download, each on a worker thread, and turns what they tell into what the user sees: the boxes
// by the update mode, the update dialog with the manifest the check found, the download's progress
// and failures in the dialog, and the program's end after the installer really started. At most
// one check and one download at a time; no worker ever waits for this thread.
class UpdateController : public QObject {
    Q_OBJECT
public:
    using CheckFactory = std::function<std::unique_ptr<CheckWorker>()>;
    using DownloadFactory =
        std::function<std::unique_ptr<DownloadWorker>(const InstallerPlan& plan)>;

    // For the update dialog `dialog`.
    explicit UpdateController(TForm4* dialog, QObject* parent = nullptr);
    // Stops the workers, as stopWorkers does.
    ~UpdateController() override;

    // The workers to start in place of the real ones; for tests, which script what they tell. An
    // empty factory restores the real worker.
    void setWorkerFactories(CheckFactory check, DownloadFactory download);

    // Makes sure a check answers the request: starts one, or leaves the request to the running
    // check when that one has not told its outcome yet (the outcome is told by the update mode of
    // that moment, so a request from the menu, which has just set "custom", is answered by it). A
    // check that has told its outcome and is only ending is waited for, and a new one starts.
    // False, with nothing started, without an update service.
    bool startCheck();
    bool checkRunning() const;
    bool downloadRunning() const;

    // Stops the workers: cancels their transfers, takes nothing more they tell, and waits for
    // them; a worker that has not ended after the stop wait (10 s) is let go. True when every
    // worker ended.
    bool stopWorkers();
    // How long stopWorkers waits before it lets a worker go; for tests, which cannot wait 10 s.
    static void setStopWait(int milliseconds);

    TForm4* dialog() const;

private:
    struct Running;
    class Mailbox;
    // Hands a worker's signal to this thread: its arguments go into the mailbox on the worker's
    // thread, and handler runs here with the worker's place and them, while `running` still
    // holds the worker of `serial`.
    template <typename Signal, typename Handler>
    void relay(const UpdateWorker* worker, Signal signal, const std::unique_ptr<Running>& running,
               quint64 serial, Handler handler);
    void deliverMail();

    void checkFinished(const CheckOutcome& outcome);
    void checkEnded();
    // Shows the update dialog for the manifest.
    void offer(const CheckOutcome& outcome);
    void startDownload();
    void cancelDownload();
    void downloadEnded();
    void installerStarted();

    // The main window owns the dialog and the controller; whichever goes first, the other copes.
    QPointer<TForm4> m_dialog;
    CheckFactory m_makeCheck;
    DownloadFactory m_makeDownload;
    std::unique_ptr<Running> m_check;
    std::unique_ptr<Running> m_download;
    // Shared with the workers' threads, which may still post after the controller has gone.
    std::shared_ptr<Mailbox> m_mailbox;
    // What the check found for the dialog, while it may show it.
    std::optional<CheckOutcome> m_offered;
};

} // namespace velmora
