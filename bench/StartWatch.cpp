// Loaded into a program whose start the benchmark times (LD_PRELOAD), so that
// the program runs exactly as a user starts it: prints the milliseconds from
// the benchmark's start of the process to the first paint of the window named
// in TINTORA_BENCH_WATCH (empty: any widget), and two seconds after the start
// its resident memory; then ends the program (at once at the first paint
// with TINTORA_BENCH_END_AT_PAINT set). Qt Core only, as the program's
// executable: it adds no library that the program would not load itself.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <time.h>

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(qint64 startNs, QString window) : m_startNs(startNs), m_window(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            (m_window.isEmpty() || watched->objectName() == m_window)) {
            m_seen = true;
            std::printf("appeared %.3f\n", double(monotonicNs() - m_startNs) / 1e6);
            std::fflush(stdout);
            // For counting the instructions up to the first paint (callgrind),
            // where two seconds are far too short.
            if (qEnvironmentVariableIsSet("TINTORA_BENCH_END_AT_PAINT"))
                std::_Exit(0);
        }
        return false;
    }

private:
    qint64 m_startNs;
    QString m_window;
    bool m_seen = false;
};

// Each application object the program creates calls this; a start that
// first looks for a running instance creates a plain one, which paints
// nothing.
void watchApplication()
{
    QCoreApplication* application = QCoreApplication::instance();
    static bool watching = false;
    if (watching || !application->inherits("QGuiApplication"))
        return;
    watching = true;
    const qint64 startNs = qEnvironmentVariable("TINTORA_BENCH_START_NS").toLongLong();
    static FirstPaintWatch watch(startNs, qEnvironmentVariable("TINTORA_BENCH_WATCH"));
    application->installEventFilter(&watch);
    // Counted or timed to the first paint alone: however long that takes,
    // no memory reading may end the program before it.
    if (qEnvironmentVariableIsSet("TINTORA_BENCH_END_AT_PAINT"))
        return;
    QTimer::singleShot(std::max<qint64>(0, 2000 - (monotonicNs() - startNs) / 1000000), [] {
        std::printf("memory %.3f\n", residentMb());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

__attribute__((constructor)) void startWatch()
{
    // The program's own children (a clipboard keeper) run unwatched.
    unsetenv("LD_PRELOAD");
    qAddPreRoutine(watchApplication);
}

} // namespace
