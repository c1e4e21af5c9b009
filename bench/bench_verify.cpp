// The check of a downloaded 100 MB installer that stands between the end of the download and its
// start: its size and its SHA-256 digest (the signed manifest vouches for the digest), read
// through the handle it is started from, from the file just written (as the download leaves it,
// in the page cache).
#include "platform/net/filecheck.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr qsizetype InstallerBytes = 100 * 1000 * 1000;

struct Installer {
    QTemporaryDir dir;
    QString path;
    velmora::FileExpectation expected;
    QString problem;
};

Installer& installer() {
    static Installer made = [] {
        Installer result;
        QByteArray bytes(InstallerBytes, Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7 % 251);
        result.path = result.dir.filePath(QStringLiteral("setup.deb"));
        QFile file(result.path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            result.problem = QStringLiteral("cannot write the installer");
            return result;
        }
        file.close();
        result.expected.size = bytes.size();
        result.expected.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        return result;
    }();
    return made;
}

} // namespace

static void BM_VerifyInstaller(benchmark::State& state) {
    Installer& made = installer();
    if (!made.problem.isEmpty()) {
        state.SkipWithError(qPrintable(made.problem));
        return;
    }
    for (auto _ : state) {
        if (!velmora::fileMeetsExpectation(made.path, made.expected)) {
            state.SkipWithError("the installer did not pass");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * InstallerBytes);
}
BENCHMARK(BM_VerifyInstaller)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
