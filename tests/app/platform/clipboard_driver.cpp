// Copies its argument as a command of the program does before it exits, and
// prints the keeper's process id; with --keep-clipboard it is the keeper.
#include "app/platform/ClipboardKeeper.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--keep-clipboard") == 0)
        return clipboardkeeper::Serve(argc, argv);
    QGuiApplication application(argc, argv);
    if (argc < 2)
        return 2;
    qint64 keeper = 0;
    const QString problem = clipboardkeeper::KeepAfterExit(QString::fromUtf8(argv[1]), &keeper);
    std::printf("%lld\n", static_cast<long long>(keeper));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    return 0;
}
