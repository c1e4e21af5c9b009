// The check of a downloaded 100 MB installer that stands between the end of the download and its
// start: its size, its SHA-256 digest and its Ed25519 signature by a release key that the release
// tool made, read from the file just written (as the download leaves it, in the page cache). The
// first check also opens the cryptographic library; it is timed on its own.
#include "platform/net/filecheck.h"
#include "tests/support/releasetool.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
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
        velmora::test::ReleaseTool release;
        const QByteArray manifest =
            release.manifest(bytes, QStringLiteral("https://example.org/velmora.deb"));
        if (!release.problem().isEmpty()) {
            result.problem = release.problem();
            return result;
        }
        for (const QByteArray& line : manifest.split('\n'))
            if (line.startsWith("Signature="))
                result.expected.signature = QByteArray::fromBase64(line.mid(10));
        result.expected.size = bytes.size();
        result.expected.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        result.expected.publicKey = release.publicKey();
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
    // The first check opens the library, once per run of the program.
    Installer& made = installer();
    if (made.problem.isEmpty()) {
        QElapsedTimer clock;
        clock.start();
        const bool passed = velmora::fileMeetsExpectation(made.path, made.expected);
        std::printf("first check, the library opened with it: %lld ms (%s)\n",
                    static_cast<long long>(clock.elapsed()), passed ? "passed" : "FAILED");
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
