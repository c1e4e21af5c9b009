// One whole update check against a local server that answers at once: the thread, the
// transfer into the update folder, reading the manifest and its outcome arriving on the
// user-interface thread (here, the benchmark's own thread) by signal.
#include "platform/net/download.h"
#include "state/global.h"
#include "tests/support/httpserver.h"
#include "update/checkforupdates.h"
#include "update/installerplan.h"
#include "update/manifest.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

static void BM_UpdateCheck(benchmark::State& state) {
    velmora::test::HttpTestServer server;
    server.answer(QString::fromLatin1(velmora::manifest::ServerPath),
                  velmora::test::HttpAnswer::ok("[Info setup]\nVersion 1=31\nVersion 2=3.1\n"));
    qputenv("VELMORA_UPDATE_SERVER", server.base().toLatin1());
    QTemporaryDir common;
    velmora::Global::setCommonAppData(common.path());
    for (auto _ : state) {
        velmora::CheckForUpdates check(velmora::Global::updateFolder(),
                                       velmora::manifest::manifestUrl(),
                                       velmora::updateSigningKey());
        bool told = false;
        QObject::connect(
            &check, &velmora::CheckWorker::finished, &check,
            [&told](const velmora::CheckOutcome& outcome) { told = outcome.manifest.has_value(); });
        bool ended = false;
        QObject::connect(&check, &velmora::UpdateWorker::ended, &check, [&ended] { ended = true; });
        check.start();
        while (!ended) {
            QCoreApplication::processEvents();
            QThread::yieldCurrentThread();
        }
        if (!told)
            state.SkipWithError("the check found no manifest");
    }
}
BENCHMARK(BM_UpdateCheck)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char** argv) {
    // The transfer library is opened once, outside the measured checks.
    velmora::initDownloads();
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
