// Start-up as a user meets it: every measured start is a fresh process, timed from just before
// it is spawned to the first exposure of its main window (shown and painted), on
// CLOCK_MONOTONIC, which the parent and its children share. Each iteration starts the program
// (bench_startup_velmora: app/main.cpp's start with the language loaded, the settings read and
// the window placed) and a bare Qt Widgets main window (bench_startup_bare) one after the other,
// in alternating order; the counters hold the medians in milliseconds, their ratio, and the
// median of the ratios within each iteration (pair_ratio). v_ready is when the program's work
// deferred past the first picture (its hidden dialogs) is done.
//
// "offscreen" runs on Qt's offscreen platform; "xcb" on the X server in DISPLAY, so run the
// benchmark as `xvfb-run -a bench/bench_startup` to have both.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// A user's store: English, the window kept where it was left, the detailed solution shown.
// "Common AppData" points into the child's own folder so the start's clean-up of the last
// update touches nothing of the machine's.
QByteArray userStore(const QString& folder) {
    return QByteArray(R"({
  "HKEY_LOCAL_MACHINE": {
    "SOFTWARE\\Velmora\\3.2": {
      "Language": "English",
      "Keep window position": "true",
      "Keep window position_x": 200,
      "Keep window position_y": 100,
      "Detailed solution": "true"
    },
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders": {
      "Common AppData": ")") +
           QDir::toNativeSeparators(folder).toUtf8() + R"("
    }
  }
})";
}

// The moments a child noted, in nanoseconds after its spawn; nothing when it failed.
using Moments = std::map<std::string, double>;

std::optional<Moments> runChild(const char* program, const char* platform) {
    QTemporaryDir folder;
    const QString storePath = folder.filePath(QStringLiteral("registry.json"));
    QFile store(storePath);
    if (!store.open(QIODevice::WriteOnly) || store.write(userStore(folder.path())) < 0)
        return std::nullopt;
    store.close();

    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        const std::string text(*variable);
        if (text.rfind("QT_QPA_PLATFORM=", 0) != 0 && text.rfind("VELMORA_REGISTRY=", 0) != 0 &&
            text.rfind("VELMORA_DATA_DIR=", 0) != 0 && text.rfind("VELMORA_UPDATE_SERVER=", 0) != 0)
            variables.push_back(text);
    }
    variables.push_back(std::string("QT_QPA_PLATFORM=") + platform);
    variables.push_back("VELMORA_REGISTRY=" + storePath.toStdString());
    variables.push_back(std::string("VELMORA_DATA_DIR=") + VELMORA_SOURCE_DIR);
    // Should a check start, it meets a closed local port instead of the network.
    variables.push_back("VELMORA_UPDATE_SERVER=http://127.0.0.1:9");
    // A desktop session always has a private runtime folder; without one Qt warns each start.
    static const QTemporaryDir runtimeFolder;
    if (!std::getenv("XDG_RUNTIME_DIR"))
        variables.push_back("XDG_RUNTIME_DIR=" + runtimeFolder.path().toStdString());
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);

    int output[2];
    if (pipe(output) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    char* arguments[] = {const_cast<char*>(program), nullptr};

    pid_t child = 0;
    const long long spawned = monotonicNanoseconds();
    const int failed =
        posix_spawn(&child, program, &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (failed) {
        close(output[0]);
        return std::nullopt;
    }

    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(output[0], buffer, sizeof buffer);
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(output[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;

    Moments moments;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t space = line.find(' ');
        if (space != std::string::npos)
            moments[line.substr(0, space)] =
                static_cast<double>(std::atoll(line.c_str() + space + 1) - spawned);
        start = end + 1;
    }
    if (!moments.count("exposed"))
        return std::nullopt;
    return moments;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The moments reported as counters, with their short names; "exposed" is the start's time.
constexpr std::pair<const char*, const char*> ReportedMoments[] = {
    {"main", "main"}, {"application", "app"}, {"windows", "windows"}, {"shown", "shown"}};

void BM_StartupToFirstShow(benchmark::State& state, const char* platform) {
    if (std::string(platform) == "xcb" && !std::getenv("DISPLAY")) {
        state.SkipWithError("no X server in DISPLAY; run under xvfb-run -a");
        return;
    }
    // One unmeasured start of each first, so neither pays for reading its files from disk.
    runChild(VELMORA_STARTUP_VELMORA, platform);
    runChild(VELMORA_STARTUP_BARE, platform);

    std::map<std::string, std::vector<double>> velmora;
    std::map<std::string, std::vector<double>> bare;
    // The two starts of one iteration run back to back and meet the same machine, so the ratio
    // within each pair moves less with the load of other processes than the medians do.
    std::vector<double> pairRatios;
    bool velmoraFirst = true;
    for (auto _ : state) {
        std::optional<Moments> ours;
        std::optional<Moments> theirs;
        if (velmoraFirst) {
            ours = runChild(VELMORA_STARTUP_VELMORA, platform);
            theirs = runChild(VELMORA_STARTUP_BARE, platform);
        } else {
            theirs = runChild(VELMORA_STARTUP_BARE, platform);
            ours = runChild(VELMORA_STARTUP_VELMORA, platform);
        }
        velmoraFirst = !velmoraFirst;
        if (!ours || !theirs) {
            state.SkipWithError("a child failed or its window was never exposed");
            return;
        }
        for (const auto& [name, nanoseconds] : *ours)
            velmora[name].push_back(nanoseconds / 1e6);
        for (const auto& [name, nanoseconds] : *theirs)
            bare[name].push_back(nanoseconds / 1e6);
        pairRatios.push_back(ours->at("exposed") / theirs->at("exposed"));
        state.SetIterationTime(ours->at("exposed") / 1e9);
    }

    const double ourStart = median(velmora["exposed"]);
    const double bareStart = median(bare["exposed"]);
    state.counters["velmora_ms"] = ourStart;
    state.counters["bare_ms"] = bareStart;
    state.counters["ratio"] = bareStart > 0 ? ourStart / bareStart : 0;
    state.counters["pair_ratio"] = median(pairRatios);
    for (const auto& [name, shortName] : ReportedMoments) {
        state.counters[std::string("v_") + shortName] = median(velmora[name]);
        state.counters[std::string("b_") + shortName] = median(bare[name]);
    }
    // The program's deferred start-up work (its dialogs) is done; the bare window has none.
    state.counters["v_ready"] = median(velmora["ready"]);
}
// The time column is the program's start (mean); the counters are medians.
BENCHMARK_CAPTURE(BM_StartupToFirstShow, offscreen, "offscreen")
    ->UseManualTime()
    ->Iterations(31)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartupToFirstShow, xcb, "xcb")
    ->UseManualTime()
    ->Iterations(31)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
