// Linked into every test program. Before main() runs it points the settings store, the data
// folder and the XDG folders at a fresh temporary folder, so no test reads or writes the files
// of the user who runs it, no installed language file leaks into a test, and no update check
// leaves the machine. Child processes that a test starts inherit these folders.
#include <QByteArray>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

struct Isolation {
    QTemporaryDir root;

    Isolation() {
        // A child process that a test starts shares its parent's folders.
        if (qEnvironmentVariableIsSet("VELMORA_TEST_ISOLATED"))
            return;
        qputenv("VELMORA_TEST_ISOLATED", "1");
        if (!root.isValid()) {
            std::fprintf(stderr, "cannot make a temporary folder for the test\n");
            std::abort();
        }
        const auto set = [this](const char* name, const char* below) {
            qputenv(name, root.filePath(QLatin1String(below)).toLocal8Bit());
        };
        set("VELMORA_REGISTRY", "config/velmora/registry.json");
        set("VELMORA_DATA_DIR", "share/velmora");
        set("XDG_CONFIG_HOME", "config");
        set("XDG_DATA_HOME", "share");
        set("XDG_CACHE_HOME", "cache");
        // No test reaches a real update server: a check that a test does not point at its own
        // server meets a closed port on this machine.
        qputenv("VELMORA_UPDATE_SERVER", "http://127.0.0.1:9");
    }
};

const Isolation isolation;

} // namespace
