// One whole update check against a local server that answers at once: the thread, the
// transfer into the update folder, reading the manifest and the hand-overs to the
// user-interface thread (here, the benchmark's own thread).
#include "platform/net/download.h"
#include "state/global.h"
#include "tests/support/httpserver.h"
#include "update/manifest.h"
#include "update/updateservice.h"

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
        velmora::Global::setUpdateMode(velmora::UpdateMode::Custom);
        velmora::startUpdateCheck();
        while (velmora::updateCheckRunning()) {
            QCoreApplication::processEvents();
            QThread::yieldCurrentThread();
        }
    }
    velmora::stopUpdateWorkers();
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
