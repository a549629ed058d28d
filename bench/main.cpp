// Prints one line per figure: what was measured, the value and its unit.
// Each subsystem adds one function below and one call in main(); a function
// gets a fresh copy of the shipped data files to work on.
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QtEndian>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <QFile>
#include <QMouseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

#include "app/basmain.h"
#include "app/platform/QtPlatform.h"
#include "app/help/HelpPage.h"
#include "app/frmshowcolor.h"
#include "palettes/PaletteIndex.h"
#include "scheme/SchemeStore.h"
#include "bench/BenchPlatform.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"
#include "models/cClrModels.h"
#include "models/notations/FormatChoices.h"
#include "models/notations/frmFormats.h"
#include "palettes/generator/ColorGenerator.h"
#include "palettes/PaletteRecords.h"
#include "palettes/exchange/DesignTokens.h"
#include "palettes/exchange/PaletteExchange.h"
#include "palettes/exchange/StyleSheetHarvest.h"
#include "palettes/generator/SwatchGrid.h"
#include "palettes/generator/frmGenerator.h"
#include "palettes/image/ImageSource.h"
#include "palettes/image/PaletteExtraction.h"
#include "palettes/picker/frmGetColor.h"

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstring>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

void report(const char* figure, double value, const char* unit)
{
    std::printf("%-62s %12.3f %s\n", figure, value, unit);
    std::fflush(stdout);
}

// Median wall time of `runs` calls, in milliseconds; `prepare` runs untimed
// before each call.
double medianMs(int runs, const std::function<void()>& work,
                const std::function<void()>& prepare = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A data folder holding copies of the shipped files.
class BenchData
{
public:
    BenchData()
    {
        const QDir shipped(QStringLiteral(TINTORA_SOURCE_DATA_DIR));
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), m_dir.filePath(name));
    }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& content) const
    {
        QFile file(filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(content) != content.size())
            qFatal("cannot write benchmark data");
    }

private:
    QTemporaryDir m_dir;
};

// `count` records of distinct colours, cycling through all 2^24 of them.
QByteArray paletteOf(qint64 count, qint64 distinct = 1 << 24)
{
    QByteArray content;
    content.reserve(count * paletterecords::RecordLength);
    for (qint64 r = 0; r < count; ++r)
        content +=
            bascommon::ColorToHtmlHex(static_cast<Color>((r % distinct) * 2654435761u % (1u << 24)))
                .mid(1)
                .toLatin1();
    return content;
}

// ---------------------------------------------------------------------------
// Palettes

void benchPalettes()
{
    BenchData data;
    data.write(QStringLiteral("colorchart.cci"),
               "mycolor.rgb\r\nMy Colors\r\n0\r\nrecent.rgb\r\nRecent Colors\r\n0\r\n"
               "c1.rgb\r\nSmall\r\n1\r\nc2.rgb\r\nHuge\r\n1\r\n");
    data.write(QStringLiteral("c1.rgb"), paletteOf(300));
    const QByteArray huge = paletteOf(1000000);
    data.write(QStringLiteral("c2.rgb"), huge);
    const QString hugePath = data.filePath(QStringLiteral("c2.rgb"));
    const qint32 hugeLastPage = paletterecords::PageCountFor(1000000);

    BenchPlatform platform;
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, data.path()));
    window->show();
    QApplication::processEvents();

    // A display includes the repaint of the cells that it causes.
    auto show = [&window](const char* file, qint32 page) {
        window->ShowColorChart(QLatin1String(file), page);
        QApplication::processEvents();
    };
    // Each measured display follows one of other colours, so that every cell
    // is recoloured and repainted.
    report("page display, 300-colour palette, page 1",
           medianMs(
               51, [&] { show("c1.rgb", 1); }, [&] { show("c2.rgb", 1); }),
           "ms");
    report("page display, 1,000,000-colour palette, page 1",
           medianMs(
               51, [&] { show("c2.rgb", 1); }, [&] { show("c1.rgb", 1); }),
           "ms");
    report("page display, 1,000,000-colour palette, last page",
           medianMs(
               51, [&] { show("c2.rgb", hugeLastPage); }, [&] { show("c2.rgb", 1); }),
           "ms");
    // Page 1 pairs the names with the records, through the whole palette.
    data.write(QStringLiteral("c2.names"), "000000\tFirst\n");
    report("page display, 1,000,000-colour palette, one colour named, page 1",
           medianMs(
               21, [&] { show("c2.rgb", 1); }, [&] { show("c1.rgb", 1); }),
           "ms");
    QFile::remove(data.filePath(QStringLiteral("c2.names")));

    paletterecords::PageCells cells;
    report("page read alone, 1,000,000-colour palette, middle page",
           medianMs(201,
                    [&] {
                        static_cast<void>(paletterecords::ReadPage(hugePath, 1000000, 2315, cells));
                    }),
           "ms");
    report("record count, 1,000,000-colour palette",
           medianMs(201, [&] { static_cast<void>(paletterecords::CountRecords(hugePath)); }), "ms");

    // Appending must not read the file: the same cost at any size.
    report("append one colour, 1,000,000-colour palette",
           medianMs(101,
                    [&] {
                        static_cast<void>(bascommon::AppendColorToFile(
                            data.path(), QStringLiteral("c2.rgb"), "#123456"));
                    }),
           "ms");
    window.reset();

    // 100,000 records of 25,000 colours, each present four times.
    const QByteArray repeated = paletteOf(100000, 25000);
    const QString dupPath = data.filePath(QStringLiteral("c1.rgb"));
    report("clear duplicates, 100,000 colours",
           medianMs(
               11, [&] { static_cast<void>(paletterecords::ClearDuplicates(dupPath)); },
               [&] { data.write(QStringLiteral("c1.rgb"), repeated); }),
           "ms");
}

// ---------------------------------------------------------------------------
// Large and damaged data folders

// The process's resident memory now, and the most it has held since the last
// resetPeakMemory(), in megabytes (Linux; 0 elsewhere).
double memoryFigure(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field))).trimmed().split(' ').value(0).toDouble() /
                   1024;
    return 0;
}
void resetPeakMemory();
double residentMb()
{
    return memoryFigure("VmRSS:");
}
double peakMb()
{
    return memoryFigure("VmHWM:");
}
void resetPeakMemory()
{
#ifdef __GLIBC__
    // Memory freed by earlier figures goes back to the system first, so that
    // it is not counted as taken again.
    malloc_trim(0);
#endif
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// An index of the two fixed palettes and `count` user palettes c1.rgb...;
// with `lastIsFirst` the last entry is c1.rgb, after c2.rgb to c<count>.rgb,
// so that the next file name is found only after every other number.
QByteArray largeIndex(qint64 count, bool lastIsFirst = false)
{
    QByteArray index = "mycolor.rgb\r\nMy Colors\r\n0\r\nrecent.rgb\r\nRecent Colors\r\n0\r\n";
    index.reserve(index.size() + count * 36);
    const qint64 first = lastIsFirst ? 2 : 1;
    for (qint64 n = first; n < first + count; ++n) {
        const qint64 number = lastIsFirst && n == count + 1 ? 1 : n;
        index += "c" + QByteArray::number(number) + ".rgb\r\nPalette " +
                 QByteArray::number(number) + "\r\n1\r\n";
    }
    return index;
}

// Start-up on a data folder with `index`: the time until the window is
// shown and painted, and the memory it takes above what the process held.
void reportStartUp(const char* timeFigure, const char* memoryFigureName, const QByteArray& index)
{
    BenchData data;
    data.write(QStringLiteral("colorchart.cci"), index);
    BenchPlatform platform;
    resetPeakMemory();
    const double before = residentMb();
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, data.path()));
    window->show();
    window->repaint();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    report(timeFigure, ms, "ms");
    report(memoryFigureName, peakMb() - before, "MB");

    // The first level of "Add This Color To", opened as a user opens it.
    if (window->mnuAddto->actions().size() > 2) {
        report("  \"Add This Color To\" submenu entries shown",
               double(window->mnuAddto->actions().size()), "items");
        QMenu* group = nullptr;
        for (QAction* action : window->mnuAddto->actions())
            if (action->menu())
                group = action->menu();
        if (group) {
            report("  open its last group, to the items",
                   medianMs(1,
                            [&] {
                                for (QMenu* menu = group; menu;) {
                                    emit menu->aboutToShow();
                                    QMenu* inner = nullptr;
                                    for (QAction* action : menu->actions())
                                        if (action->menu())
                                            inner = action->menu();
                                    menu = inner;
                                }
                            }),
                   "ms");
        }
    }
    window->close();
    window.reset();
    QApplication::processEvents();
}

// Peak memory above the idle program and time of one palette command.
void reportCommand(const char* timeFigure, const char* memoryFigureName,
                   const std::function<void()>& command)
{
    resetPeakMemory();
    const double before = residentMb();
    QElapsedTimer clock;
    clock.start();
    command();
    report(timeFigure, double(clock.nsecsElapsed()) / 1e6, "ms");
    report(memoryFigureName, peakMb() - before, "MB");
}

// Mean time of a click on each of `rows` in turn, as the user makes them.
double meanClickMs(const std::function<void(int)>& click, int rows)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rows; ++i) {
        click(i);
        QApplication::processEvents();
    }
    return double(clock.nsecsElapsed()) / 1e6 / rows;
}

double pickCommandMs(const QByteArray& index);

void benchLargeDataFolders()
{
    reportStartUp("start-up, 100,000 user palettes", "  memory taken by it", largeIndex(100000));
    reportStartUp("start-up, 1,000,000 user palettes", "  memory taken by it", largeIndex(1000000));
    report("tintora --pick, 1,000,000 user palettes, frozen screen painted",
           pickCommandMs(largeIndex(1000000)), "ms");
    reportStartUp("start-up, 100,000 user palettes, the last one c1.rgb", "  memory taken by it",
                  largeIndex(100000, true));

    BenchData data;
    BenchPlatform platform;
    const QString hugePath = data.filePath(QStringLiteral("c9.rgb"));
    {
        // 50,000,000 records of 4,000,000 colours.
        QFile file(hugePath);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write benchmark data");
        const QByteArray block = paletteOf(1000000, 4000000);
        for (int i = 0; i < 50; ++i)
            file.write(block);
    }
    reportCommand("clear duplicates, 50,000,000 colours", "  peak memory above the idle program",
                  [&] { static_cast<void>(paletterecords::ClearDuplicates(hugePath)); });
    QFile::remove(hugePath);

    {
        // 2 GB of which only the first and last records are written.
        QFile file(hugePath);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write benchmark data");
        file.write("123456");
        file.resize(qint64(2) << 30);
        file.seek((qint64(2) << 30) - 6);
        file.write("ABCDEF");
    }
    reportCommand("delete one colour, 2 GB sparse palette", "  peak memory above the idle program",
                  [&] { static_cast<void>(paletterecords::DeleteRecord(hugePath, 1)); });
    QFile::remove(hugePath);

    // A saved scheme of a 10 MB name, and a palette of a 60 MB name, as a
    // damaged list or an imported GIMP file gives them.
    auto shipped = [&data](const char* name) {
        QFile file(data.filePath(QLatin1String(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    data.write(QStringLiteral("set.hcs"),
               shipped("set.hcs") + '"' + QByteArray(10 * 1024 * 1024, 'n') + "\"\r\n");
    data.write(QStringLiteral("colorset.dat"),
               shipped("colorset.dat") + "000000FFFFFFFF0000800080FF00000066FF");
    data.write(QStringLiteral("colorchart.cci"),
               "mycolor.rgb\r\nMy Colors\r\n0\r\nrecent.rgb\r\nRecent Colors\r\n0\r\n"
               "c1.rgb\r\n" +
                   QByteArray(60 * 1024 * 1024, 'p') + "\r\n1\r\n");
    std::unique_ptr<frmshowcolor> window(basmain::CreateMainWindow(platform, data.path()));
    window->show();
    QApplication::processEvents();
    const int schemes = window->lstCorset->count();
    report("click in the scheme list, a 10 MB name among the schemes",
           meanClickMs([&](int i) { window->lstCorset->setCurrentRow(schemes - 1 - i % 2); }, 20),
           "ms");
    report("click in the palette list, a 60 MB name among the palettes",
           meanClickMs([&](int i) { window->cmbChart->setCurrentIndex(2 - i % 2); }, 20), "ms");
    window->close();
}

// ---------------------------------------------------------------------------
// Screen picker

// One picking run on a 3840 x 2160 screen whose every pixel differs from its
// neighbours, beside a 1920 x 1080 screen of one colour.
class PickerRun
{
public:
    explicit PickerRun(const QString& averageSize)
    {
        QImage picture(Uhd, QImage::Format_RGB32);
        for (int y = 0; y < Uhd.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < Uhd.width(); ++x)
                line[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
        }
        QImage plain(QSize(1920, 1080), QImage::Format_RGB32);
        plain.fill(qRgb(40, 90, 160));
        m_platform.screen.addScreen(QRect(QPoint(0, 0), Uhd), picture);
        m_platform.screen.addScreen(QRect(QPoint(Uhd.width(), 0), plain.size()), plain);
        m_platform.settings.insert(QStringLiteral("pickaverage"), averageSize);

        m_window.reset(basmain::CreateMainWindow(m_platform, m_data.path()));
        m_window->show();
        QApplication::processEvents();
        m_window->mnustartpick_Click();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<frmGetColor*>(top))
                m_picker = found;
        if (!m_picker)
            qFatal("picking did not start");
        QApplication::processEvents();
    }
    ~PickerRun()
    {
        m_picker->close();
        QApplication::processEvents();
    }

    enum class Path {
        // Jumps across the whole picture: every move shows a new colour, and
        // the loupe reads memory that no earlier move brought into the cache.
        Jumps,
        // A sweep in steps of 3 pixels, as a hand moves a mouse: every move
        // shows a new colour, near the last one.
        Sweep,
        // Jumps across the plain screen: no move shows a new colour.
        OneColour,
    };

    // Median over 21 runs of the mean cost of 200 moves, in microseconds. Between
    // two moves the event loop runs, as it does for a real mouse, so that the
    // repaint the move asked for is done; it is timed only when asked for.
    double moves(Path path, bool timeRepaint)
    {
        constexpr int Moves = 200;
        std::vector<double> runs;
        QElapsedTimer clock;
        for (int run = 0; run < 21; ++run) {
            qint64 nanoseconds = 0;
            for (int i = 0; i < Moves; ++i) {
                QPointF at;
                switch (path) {
                case Path::Jumps:
                    at = QPointF((m_step * 977) % Uhd.width(), (m_step * 613) % Uhd.height());
                    break;
                case Path::Sweep:
                    at = QPointF(20 + (m_step * 3) % 3800, 20 + (m_step * 3 / 3800 * 7) % 2120);
                    break;
                case Path::OneColour:
                    at = QPointF(Uhd.width() + 20 + (m_step * 977) % 1880,
                                 20 + (m_step * 613) % 1040);
                    break;
                }
                ++m_step;
                QMouseEvent event(QEvent::MouseMove, at, at, at, Qt::NoButton, Qt::NoButton,
                                  Qt::NoModifier);
                clock.start();
                QApplication::sendEvent(m_picker, &event);
                if (!timeRepaint)
                    nanoseconds += clock.nsecsElapsed();
                QApplication::processEvents();
                if (timeRepaint)
                    nanoseconds += clock.nsecsElapsed();
            }
            runs.push_back(double(nanoseconds) / 1e3 / Moves);
        }
        std::sort(runs.begin(), runs.end());
        return runs[runs.size() / 2];
    }

private:
    static constexpr QSize Uhd{3840, 2160};
    BenchData m_data;
    BenchPlatform m_platform;
    std::unique_ptr<frmshowcolor> m_window;
    frmGetColor* m_picker = nullptr;
    int m_step = 0;
};

void benchPicker()
{
    {
        using Path = PickerRun::Path;
        PickerRun run(QStringLiteral("1"));
        report("picker mouse move, 3840 x 2160 capture, handler", run.moves(Path::Jumps, false),
               "us");
        report("picker mouse move, 3840 x 2160 capture, with its repaint",
               run.moves(Path::Jumps, true), "us");
        report("picker mouse move along a path, handler", run.moves(Path::Sweep, false), "us");
        report("picker mouse move along a path, with its repaint", run.moves(Path::Sweep, true),
               "us");
        report("picker mouse move over one colour, handler", run.moves(Path::OneColour, false),
               "us");
        report("picker mouse move over one colour, with its repaint",
               run.moves(Path::OneColour, true), "us");
    }
    PickerRun averaging(QStringLiteral("5"));
    report("picker mouse move, 5 x 5 average, handler",
           averaging.moves(PickerRun::Path::Jumps, false), "us");
}

// ---------------------------------------------------------------------------
// Start-up

// From the creation of the main window on the shipped data (which reads the
// index, the first palette and the saved schemes) until it has been shown
// and painted once. The process start and Qt's own set-up come before. The
// first window of a process also loads fonts and styles, so it is given on
// its own.
void benchStartup()
{
    BenchData data;
    BenchPlatform platform;
    std::unique_ptr<frmshowcolor> window;
    auto startUp = [&] {
        window.reset(basmain::CreateMainWindow(platform, data.path()));
        window->show();
        window->repaint();
    };
    auto closeWindow = [&] {
        if (window)
            window->close();
        window.reset();
        QApplication::processEvents();
    };
    report("start-up to the first shown main window, first in the process", medianMs(1, startUp),
           "ms");
    report("start-up to the first shown main window, later ones",
           medianMs(21, startUp, closeWindow), "ms");
    closeWindow();
}

// ---------------------------------------------------------------------------
// Start-up of a whole process

// Each start is a process of its own, started as a user starts it: a bare Qt
// window (a program that links Qt Widgets alone), the program's main window
// (`tintora`) and its frozen screen (`tintora --pick`). A watch loaded into
// each (bench/StartWatch.cpp) prints the milliseconds from this process's
// start of the child to the window's first paint, and two seconds after
// start its resident memory. The parent's clock reading comes in an
// environment variable.
const char* const StartClockVariable = "TINTORA_BENCH_START_NS";

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct ChildFigures
{
    double appearedMs = 0;
    double memoryMb = 0;
};

QProcessEnvironment childEnvironment(const QTemporaryDir& settings, const BenchData& data)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), settings.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), settings.path());
    environment.insert(QStringLiteral("TINTORA_DATA_DIR"), data.path());
    return environment;
}

ChildFigures runOneChild(const QString& kind, const QByteArray& index = {})
{
    BenchData data;
    if (!index.isEmpty())
        data.write(QStringLiteral("colorchart.cci"), index);
    QTemporaryDir settings;
    QProcess child;
    QProcessEnvironment environment = childEnvironment(settings, data);
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TINTORA_BENCH_WATCH));
    // The window whose first paint counts.
    QString window;
    QString program = QStringLiteral(TINTORA_EXECUTABLE);
    QStringList arguments;
    if (kind == QLatin1String("bare")) {
        program = QStringLiteral(TINTORA_BENCH_BARE);
    } else if (kind == QLatin1String("bare with label")) {
        program = QStringLiteral(TINTORA_BENCH_BARE);
        arguments = {QStringLiteral("--label")};
    } else if (kind == QLatin1String("pick command")) {
        window = QStringLiteral("frmGetColor");
        arguments = {QStringLiteral("--pick")};
    } else {
        window = QStringLiteral("frmshowcolor");
    }
    environment.insert(QStringLiteral("TINTORA_BENCH_WATCH"), window);
    // A large data folder can keep the first paint past the memory reading
    // at two seconds; only the time counts there.
    if (!index.isEmpty())
        environment.insert(QStringLiteral("TINTORA_BENCH_END_AT_PAINT"), QStringLiteral("1"));
    environment.insert(QLatin1String(StartClockVariable), QString::number(monotonicNs()));
    child.setProcessEnvironment(environment);
    child.start(program, arguments);
    if (!child.waitForFinished(30000))
        qFatal("the start-up child did not finish");
    ChildFigures figures;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("appeared "))
            figures.appearedMs = line.mid(9).toDouble();
        else if (line.startsWith("memory "))
            figures.memoryMb = line.mid(7).toDouble();
    }
    if (figures.appearedMs <= 0 || (index.isEmpty() && figures.memoryMb <= 0))
        qFatal("the start-up child reported nothing");
    return figures;
}

double pickCommandMs(const QByteArray& index)
{
    return runOneChild(QStringLiteral("pick command"), index).appearedMs;
}

// `tintora --pick` while an instance runs on the same data (this process,
// through the program's own single-instance code): milliseconds from the
// command's start, as a user starts it, to its request reaching the
// instance.
double handedOverPickMs()
{
    BenchData data;
    QTemporaryDir settings;
    QtPlatform instance(data.path());
    if (instance.anotherInstanceRunning())
        qFatal("the bench data folder is in use");
    qint64 startNs = 0;
    qint64 arrivedNs = 0;
    instance.handleSecondStartRequests(
        [&arrivedNs](const instancemessage::Request&, Platform::SecondStartAnswer answer) {
            arrivedNs = monotonicNs();
            instancemessage::Reply cancelled;
            cancelled.status = instancemessage::Reply::Status::Cancelled;
            answer(cancelled);
        });
    QProcess child;
    child.setProcessEnvironment(childEnvironment(settings, data));
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    startNs = monotonicNs();
    child.start(QStringLiteral(TINTORA_EXECUTABLE), {QStringLiteral("--pick")});
    loop.exec();
    if (arrivedNs == 0 || child.state() != QProcess::NotRunning)
        qFatal("the handed-over pick did not reach the instance");
    return double(arrivedNs - startNs) / 1e6;
}

// From the start of a process to the first paint of its window, and its
// memory two seconds after start: a bare Qt window, the same window showing
// one word, the main window, and the frozen screen of the picker, each the median of runs that take
// turns, so that a busy moment of the machine falls on all of them alike.
void benchProcessStartup()
{
    const QStringList kinds = {QStringLiteral("bare"), QStringLiteral("main"),
                               QStringLiteral("pick command"), QStringLiteral("bare with label")};
    std::vector<std::vector<double>> times(kinds.size());
    std::vector<std::vector<double>> memory(kinds.size());
    std::vector<double> handedOver;
    for (int run = 0; run < 7; ++run) {
        for (qsizetype k = 0; k < kinds.size(); ++k) {
            const ChildFigures figures = runOneChild(kinds.at(k));
            times[k].push_back(figures.appearedMs);
            memory[k].push_back(figures.memoryMb);
        }
        handedOver.push_back(handedOverPickMs());
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double bareMs = median(times[0]);
    const double bareMb = median(memory[0]);
    report("process start to first paint, bare Qt window", bareMs, "ms");
    report("process start to first paint, main window", median(times[1]), "ms");
    report("  main window / bare window", median(times[1]) / bareMs, "x");
    report("process start to first paint, bare Qt window with one word", median(times[3]), "ms");
    report("  bare window with one word / bare window", median(times[3]) / bareMs, "x");
    report("tintora --pick, start to the frozen screen painted", median(times[2]), "ms");
    report("  frozen screen / bare window", median(times[2]) / bareMs, "x");
    report("tintora --pick, start to its request at the running instance", median(handedOver),
           "ms");
    report("  handed over / frozen screen", median(handedOver) / median(times[2]), "x");
    report("memory 2 s after start, bare Qt window", bareMb, "MB");
    report("memory 2 s after start, main window", median(memory[1]), "MB");
    report("  main window / bare window", median(memory[1]) / bareMb, "x");
    report("memory 2 s after start, bare Qt window with one word", median(memory[3]), "MB");
    report("  bare window with one word / bare window", median(memory[3]) / bareMb, "x");
}

// ---------------------------------------------------------------------------
// Colour models

// Colours spread over the whole RGB cube.
std::vector<Color> sampleColours(int count)
{
    std::vector<Color> colours;
    colours.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        colours.push_back(static_cast<Color>((std::uint32_t(i) * 2654435761u) % (1u << 24)));
    return colours;
}

double millionsPerSecond(int count, double milliseconds)
{
    return count / (milliseconds / 1000.0) / 1e6;
}

// Every reading of a colour that the windows show, and each setter, fed
// with values read from real colours so that none overflows.
void benchColourModels()
{
    constexpr int Count = 200000;
    const std::vector<Color> colours = sampleColours(Count);
    cClrModels model;
    long long sink = 0;
    auto load = [&model](Color colour) {
        model.setRgbR(static_cast<std::uint8_t>(bascommon::GetRed(colour)));
        model.setRgbG(static_cast<std::uint8_t>(bascommon::GetGreen(colour)));
        model.setRgbB(static_cast<std::uint8_t>(bascommon::GetBlue(colour)));
    };

    report("colour models: all 13 readings of a colour",
           millionsPerSecond(Count, medianMs(5,
                                             [&] {
                                                 for (Color colour : colours) {
                                                     load(colour);
                                                     sink += model.cmyC() + model.cmyM() +
                                                             model.cmyY() + model.cmykC() +
                                                             model.cmykM() + model.cmykY() +
                                                             model.cmykK() + model.hlsH() +
                                                             model.hlsL() + model.hlsS() +
                                                             model.ycbcrY() + model.ycbcrCb() +
                                                             model.ycbcrCr();
                                                 }
                                             })),
           "million colours/s");

    struct Readings
    {
        std::int16_t cmy[3];
        std::int16_t cmyk[4];
        std::int16_t hls[3];
        std::int16_t ycbcr[3];
    };
    std::vector<Readings> readings;
    readings.reserve(colours.size());
    for (Color colour : colours) {
        load(colour);
        readings.push_back({{model.cmyC(), model.cmyM(), model.cmyY()},
                            {model.cmykC(), model.cmykM(), model.cmykY(), model.cmykK()},
                            {model.hlsH(), model.hlsL(), model.hlsS()},
                            {model.ycbcrY(), model.ycbcrCb(), model.ycbcrCr()}});
    }
    auto setters = [&](const char* figure, const std::function<void(const Readings&)>& set) {
        report(figure,
               millionsPerSecond(Count, medianMs(5,
                                                 [&] {
                                                     for (const Readings& r : readings) {
                                                         set(r);
                                                         sink += model.rgbR() + model.rgbB();
                                                     }
                                                 })),
               "million colours/s");
    };
    setters("colour models: SetCMY",
            [&](const Readings& r) { model.SetCMY(r.cmy[0], r.cmy[1], r.cmy[2]); });
    setters("colour models: SetCMYK",
            [&](const Readings& r) { model.SetCMYK(r.cmyk[0], r.cmyk[1], r.cmyk[2], r.cmyk[3]); });
    setters("colour models: SetHLS",
            [&](const Readings& r) { model.SetHLS(r.hls[0], r.hls[1], r.hls[2]); });
    setters("colour models: SetYCbCr",
            [&](const Readings& r) { model.SetYCbCr(r.ycbcr[0], r.ycbcr[1], r.ycbcr[2]); });
    // The sum keeps the work from being optimised away.
    if (sink == 42)
        std::printf(" ");
}

// ---------------------------------------------------------------------------
// Colour generator

// One regeneration per parameter change: the logic alone for the largest
// list of each kind, then the window's whole answer to a change of one of its
// controls, the preview repainted. Each run changes the parameter, so that
// nothing is left over from the run before.
void benchGenerator()
{
    using namespace colorgenerator;
    const Color base = bascommon::MakeColor(0x33, 0x66, 0x99);
    const QList<double> targets = ParseTargets(QLatin1String(DefaultTargets), nullptr);
    constexpr int Runs = 101;
    int turn = 0;
    long long sink = 0;
    auto next = [&turn] { return Color((std::uint32_t(++turn) * 2654435761u) % (1u << 24)); };
    auto keep = [&sink](const Swatches& swatches) { sink += swatches.size(); };

    report("generator: tetradic harmony",
           medianMs(Runs, [&] { keep(Harmonize(next(), Harmony::Tetradic)); }), "ms");
    report("generator: monochromatic harmony",
           medianMs(Runs, [&] { keep(Harmonize(next(), Harmony::Monochromatic)); }), "ms");
    report("generator: 20 tints", medianMs(Runs, [&] { keep(Vary(next(), Variation::Tints, 20)); }),
           "ms");
    report("generator: mix of 20 steps in OKLCh",
           medianMs(Runs, [&] { keep(Mix(next(), base, MixSpace::OkLch, 20)); }), "ms");
    report("generator: 11-step ramp", medianMs(Runs, [&] { keep(DesignRamp(next()).steps); }),
           "ms");
    report(
        "generator: contrast scale, 5 targets",
        medianMs(Runs,
                 [&] { sink += ContrastTargets(next(), bascommon::White, targets).steps.size(); }),
        "ms");
    QList<double> many;
    for (int i = 0; i < MaxSteps; ++i)
        many.append(1 + i);
    report("generator: contrast scale, 20 targets",
           medianMs(Runs,
                    [&] {
                        sink +=
                            ContrastTargets(next(), bascommon::MakeColor(0x77, 0x77, 0x77), many)
                                .steps.size();
                    }),
           "ms");

    BenchPlatform platform;
    frmGenerator window(platform, base, bascommon::White);
    window.show();
    QApplication::processEvents();
    auto change = [&](const char* figure, frmGenerator::Page page,
                      const std::function<void(int)>& set) {
        window.tabGenerator->setCurrentIndex(int(page));
        int value = 0;
        report(figure,
               medianMs(Runs,
                        [&] {
                            set(++value);
                            window.grdSwatches->repaint();
                        }),
               "ms");
    };
    change("generator window: analogous angle dragged, with repaint", frmGenerator::Page::Harmonies,
           [&](int value) {
               window.cmbHarmony->setCurrentIndex(int(Harmony::Analogous));
               window.sldAngle->setValue(5 + value % 80);
           });
    change("generator window: tint steps changed, with repaint", frmGenerator::Page::Variations,
           [&](int value) { window.spnSteps->setValue(MinSteps + value % (MaxSteps - 1)); });
    change("generator window: mix steps changed, with repaint", frmGenerator::Page::Mix,
           [&](int value) { window.spnMixSteps->setValue(MinSteps + value % (MaxSteps - 1)); });
    change("generator window: ramp of a new base, with repaint", frmGenerator::Page::Ramp,
           [&](int) { window.setBaseColor(next()); });
    change("generator window: contrast targets typed, with repaint", frmGenerator::Page::Contrast,
           [&](int value) {
               window.txtTargets->setText(QStringLiteral("1.5, 3, 4.5, 7, %1").arg(8 + value % 13));
           });
    if (sink == 42)
        std::printf(" ");
}
// ---------------------------------------------------------------------------
// Today's notations

// Median CPU time of this thread over `runs` calls, in milliseconds: on a
// machine shared with other work, what one core does when it runs.
double medianCpuMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        timespec start{};
        timespec end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        work();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        times.push_back(double(end.tv_sec - start.tv_sec) * 1e3 +
                        double(end.tv_nsec - start.tv_nsec) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void benchNotations()
{
    constexpr int Count = 200000;
    const std::vector<Color> colours = sampleColours(Count);
    long long sink = 0;
    const auto formatAll = [&](bool css, bool cpu) {
        const auto work = [&] {
            for (const notations::Notation notation : notations::AllNotations)
                if (notations::IsCss(notation) == css)
                    for (Color colour : colours)
                        sink += notations::Format(notation, colour).size();
        };
        return millionsPerSecond(Count * 10, cpu ? medianCpuMs(5, work) : medianMs(5, work));
    };
    report("notations: format, the 10 CSS notations", formatAll(true, false), "million texts/s");
    report("notations: format, the 10 CSS notations, CPU time", formatAll(true, true),
           "million texts/s");
    report("notations: format, the 10 code forms", formatAll(false, false), "million texts/s");
    report("notations: format, the 10 code forms, CPU time", formatAll(false, true),
           "million texts/s");
    for (const notations::Notation notation :
         {notations::Notation::Oklch, notations::Notation::Lab, notations::Notation::DisplayP3}) {
        const QByteArray figure = "notations: format, " + notations::Label(notation).toUtf8();
        report(figure.constData(),
               millionsPerSecond(
                   Count, medianMs(5,
                                   [&] {
                                       for (Color colour : colours)
                                           sink += notations::Format(notation, colour).size();
                                   })),
               "million texts/s");
    }

    const auto parseAll = [&](const char* figure, bool css) {
        QStringList texts;
        for (const notations::Notation notation : notations::AllNotations)
            if (notations::IsCss(notation) == css)
                for (int i = 0; i < Count / 10; ++i)
                    texts << notations::Format(notation, colours[std::size_t(i)]);
        const auto work = [&] {
            for (const QString& text : texts)
                sink += colorparser::Parse(text).color;
        };
        report(figure, millionsPerSecond(int(texts.size()), medianMs(5, work)), "million texts/s");
        const QByteArray cpu = QByteArray(figure) + ", CPU time";
        report(cpu.constData(), millionsPerSecond(int(texts.size()), medianCpuMs(5, work)),
               "million texts/s");
    };
    parseAll("notations: parse, the 10 CSS notations (to 8 bits)", true);
    parseAll("notations: parse, the 10 code forms (to 8 bits)", false);

    BenchPlatform platform;
    BenchData data;
    frmFormats window(platform, data.path(), nullptr);
    window.show();
    QCoreApplication::processEvents();
    int next = 0;
    report("Color Formats window: new current colour, fields and names",
           medianMs(101, [&] { window.setCurrentColor(colours[std::size_t(next++)]); }), "ms");
    const auto withRepaint = [&] {
        window.setCurrentColor(colours[std::size_t(next++)]);
        window.repaint();
    };
    report("Color Formats window: new current colour, with its repaint", medianMs(101, withRepaint),
           "ms");
    report("Color Formats window: new current colour, with its repaint, CPU time",
           medianCpuMs(101, withRepaint), "ms");
    if (sink == 42)
        std::printf(" ");
}

// ---------------------------------------------------------------------------
// Readers of files and settings, each on the worst input of its kind that
// fuzzing and review found, at the import limit of 64 MB.

void reportReader(const char* figure, const std::function<void()>& read, const char* size = "64 MB")
{
    resetPeakMemory();
    const double before = residentMb();
    QElapsedTimer clock;
    timespec cpuStart;
    timespec cpuEnd;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
    clock.start();
    read();
    const qint64 elapsed = clock.nsecsElapsed();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
    char line[120];
    std::snprintf(line, sizeof line, "%s, worst input of %s", figure, size);
    report(line, double(elapsed) / 1e9, "s");
    // On a shared machine the time the reader itself took, apart from the
    // waits for a core.
    report("  CPU time",
           double(cpuEnd.tv_sec - cpuStart.tv_sec) +
               double(cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e9,
           "s");
    report("  memory above idle", peakMb() - before, "MB");
}

QByteArray filled(const QByteArray& head, char fill, const QByteArray& tail)
{
    constexpr qsizetype Size = 64 * 1024 * 1024;
    return head + QByteArray(Size - head.size() - tail.size(), fill) + tail;
}

void benchReaders()
{
    {
        const QByteArray page = filled("<p style=\"color: red\">", '<', "");
        reportReader("web page of \"<\"", [&] { stylesheetharvest::FromWebPage(page); });
    }
    {
        const QByteArray page = filled("<p style=\"color: red; x: ", '&', "\">");
        reportReader("web page, \"&\" in a style attribute",
                     [&] { stylesheetharvest::FromWebPage(page); });
    }
    {
        QByteArray tokens;
        for (int i = 0; i < 2000; ++i)
            tokens += "\"t" + QByteArray::number(i) +
                      "\": {\"$type\": \"color\", \"$value\": " + "\"#ff0000\"},";
        tokens += "\"last\": {\"$type\": \"color\", \"$value\": \"#00ff00\"}}}";
        const QByteArray file = filled("{\"", 'g', "\": {" + tokens);
        reportReader("design tokens under a long group name", [&] { designtokens::Read(file); });
    }
    {
        QByteArray chain = "{";
        chain.reserve(64 * 1024 * 1024);
        int i = 0;
        // As long as the values a JSON tree holds allow.
        while (i < 1'900'000 && chain.size() < 64 * 1024 * 1024 - 100) {
            chain += "\"t" + QByteArray::number(i) + "\": {\"$value\": \"{t" +
                     QByteArray::number(i + 1) + "}\"},";
            ++i;
        }
        chain += "\"t" + QByteArray::number(i) +
                 "\": {\"$type\": \"color\", \"$value\": "
                 "\"#ff0000\"}}";
        reportReader("design tokens, one long chain of aliases",
                     [&] { designtokens::Read(chain); });
    }
    {
        const QByteArray gimp = filled("GIMP Palette\n", '\n', "1 2 3\n");
        reportReader("GIMP palette of empty lines", [&] { paletteexchange::Decode(gimp); });
    }
    {
        const QByteArray numbers = filled("[0", ',', "]").replace(",,", ",0");
        reportReader("JSON of small values", [&] { paletteexchange::Decode(numbers); });
    }
    {
        QByteArray own;
        own += "{\"notations\": [], \"templates\": [";
        while (own.size() < 64 * 1024 * 1024 - 100)
            own += "{\"name\": \"n\", \"template\": \"{r}\"},";
        own += "{\"template\": \"x\"}]}";
        const QString setting = QString::fromUtf8(own);
        reportReader("colour-format templates setting",
                     [&] { FormatChoices::fromSetting(setting); });
    }
    {
        QByteArray own = "{\"notations\": [], \"templates\": [";
        for (int i = 0; i < 100000; ++i)
            own += "{\"name\": \"n\", \"template\": \"{r}\"},";
        own += "{\"template\": \"x\"}]}";
        const QString setting = QString::fromUtf8(own);
        reportReader(
            "colour-format templates setting of 100,000",
            [&] { FormatChoices::fromSetting(setting); }, "4 MB");
    }
    {
        // Deep pages stop the count at once; shallow ones are counted through.
        const QByteArray shallow = QByteArray("<b></b>").repeated(64 * 1024 * 1024 / 7);
        reportReader("help page markup counted for its depth",
                     [&] { helppage::NestingDepth(shallow); });
    }
    {
        // One name of 32 million accented letters, as a damaged file can hold,
        // in the scheme list and in the palette index; both are read at every
        // start. The file content is written before the figure begins.
        QTemporaryDir folder;
        const QByteArray name = QByteArray("\xC3\xA9").repeated(32 * 1024 * 1024 - 8);
        const auto writeFile = [&folder](const QString& file, const QByteArray& content) {
            QFile out(folder.filePath(file));
            if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
                std::fprintf(stderr, "could not write %s\n", qPrintable(out.fileName()));
        };
        writeFile(QStringLiteral("set.hcs"), '"' + name + "\"\r\n");
        reportReader("scheme name list, one name", [&] {
            QStringList names;
            static_cast<void>(SchemeStore(folder.path()).readNames(names));
        });
        writeFile(QStringLiteral("colorchart.cci"), "mycolor.rgb\r\n" + name + "\r\n1\r\n");
        reportReader("palette index, one name",
                     [&] { static_cast<void>(paletteindex::Read(folder.path())); });
    }
}

// Colours from images: a 12-megapixel photo (4000 x 3000, gradients under
// noise, saved as a JPEG) read and reduced to a palette of 8 and of 32
// colours, the memory that takes beyond what the process held before, and
// the refusal of a file whose header claims 200 megapixels.
void benchImages()
{
    constexpr int Width = 4000;
    constexpr int Height = 3000;
    QTemporaryDir folder;
    const QString photoPath = folder.filePath(QStringLiteral("photo.jpg"));
    {
        QImage photo(Width, Height, QImage::Format_RGB32);
        std::uint32_t noise = 1;
        for (int y = 0; y < Height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < Width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int n = int((noise >> 24) % 13) - 6;
                line[x] =
                    qRgb(qBound(0, 255 * x / Width + n, 255), qBound(0, 255 * y / Height - n, 255),
                         qBound(0, 128 + 100 * ((x / 397 + y / 251) % 2) + n, 255));
            }
        }
        photo.save(photoPath, "JPEG", 90);
    }
    resetPeakMemory();
    const double before = residentMb();
    QImage decoded;
    report("image: read a 12-megapixel JPEG",
           medianMs(3, [&] { decoded = imagesource::ReadImageFile(photoPath).image; }), "ms");
    long long sink = 0;
    report("image: palette of 8 colours, 12-megapixel photo",
           medianMs(5, [&] { sink += paletteextraction::Extract(decoded, 8).colors.size(); }),
           "ms");
    report("image: palette of 32 colours, 12-megapixel photo",
           medianMs(5, [&] { sink += paletteextraction::Extract(decoded, 32).colors.size(); }),
           "ms");
    report("image: memory to read and extract, 12-megapixel photo", peakMb() - before, "MB");
    decoded = QImage();

    // A valid PNG header claiming 20000 x 10000 pixels over a few bytes.
    const QString bombPath = folder.filePath(QStringLiteral("bomb.png"));
    {
        QImage small(8, 8, QImage::Format_ARGB32);
        small.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "PNG");
        // Width and height sit at bytes 16 to 23, the header chunk's type and
        // data at 12 to 28 and its CRC-32 at 29.
        qToBigEndian(quint32(20000), png.data() + 16);
        qToBigEndian(quint32(10000), png.data() + 20);
        quint32 crc = 0xFFFFFFFFu;
        for (int i = 12; i < 29; ++i) {
            crc ^= quint8(png.at(i));
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        qToBigEndian(~crc, png.data() + 29);
        QFile bomb(bombPath);
        if (bomb.open(QIODevice::WriteOnly))
            bomb.write(png);
    }
    resetPeakMemory();
    const double beforeBomb = residentMb();
    report("image: refuse a PNG claiming 200 megapixels",
           medianMs(5, [&] { sink += imagesource::ReadImageFile(bombPath).ok() ? 1 : 0; }), "ms");
    report("image: memory to refuse it", peakMb() - beforeBomb, "MB");
    if (sink == 42)
        std::printf(" ");
}

} // namespace

int main(int argc, char* argv[])
{
    // The windows are measured without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (application.arguments().contains(QStringLiteral("startup"))) {
        benchProcessStartup();
        return 0;
    }

    // "picker" measures the screen picker alone, "large" the large and
    // damaged data folders alone, "readers" the readers of files and
    // settings alone, "images" the colours from images alone.
    const bool pickerOnly = application.arguments().contains(QStringLiteral("picker"));
    if (application.arguments().contains(QStringLiteral("readers"))) {
        benchReaders();
        return 0;
    }
    if (application.arguments().contains(QStringLiteral("large"))) {
        benchLargeDataFolders();
        return 0;
    }
    if (application.arguments().contains(QStringLiteral("images"))) {
        benchImages();
        return 0;
    }
    if (!pickerOnly) {
        benchProcessStartup();
        benchStartup();
        benchPalettes();
        benchColourModels();
        benchGenerator();
        benchNotations();
        benchImages();
    }
    benchPicker();
    if (!pickerOnly) {
        benchLargeDataFolders();
        benchReaders();
    }
    return 0;
}
