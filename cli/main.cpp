#include "cli/commandline.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void print(const QString& text, std::FILE* stream) {
    if (text.isEmpty())
        return;
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const velmora::cli::Outcome outcome = velmora::cli::run(arguments);
    print(outcome.out, stdout);
    print(outcome.err, stderr);
    return std::fflush(stdout) == 0 ? outcome.status : velmora::cli::StatusInputError;
}
