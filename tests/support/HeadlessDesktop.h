#pragma once

#include <QList>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A Wayland desktop without a screen, for the tests that pick from a real
// one: sway on the headless backend, a D-Bus session of its own, PipeWire,
// the wlroots portal backend and the desktop portal. The test's process
// serves the portal's Access interface itself (grant everything), which the
// portal wants before it offers screenshots. Every process is ended by its
// id when the object goes.
class HeadlessDesktop
{
public:
    struct Output
    {
        QSize mode;
        double scale = 1;
        QPoint position;
    };
    struct Options
    {
        QList<Output> outputs;
        // Put before the portal backend's PATH: stand-ins for the tools it
        // runs (grim, slurp).
        QString backendTools;
    };

    HeadlessDesktop();
    ~HeadlessDesktop();
    HeadlessDesktop(const HeadlessDesktop&) = delete;
    HeadlessDesktop& operator=(const HeadlessDesktop&) = delete;

    // The packages that are not installed, by the programs they bring;
    // empty when everything is there.
    static QStringList missingPackages();

    // False when some part did not come up; problem() says which.
    bool start(const Options& options);
    QString problem() const { return m_problem; }

    // What a client of this desktop needs: its Wayland socket, session bus
    // and runtime folder, and no X11.
    QProcessEnvironment clientEnvironment() const;
    // Runs swaymsg against this desktop's sway; its output.
    QByteArray swaymsg(const QStringList& arguments) const;
    // What the processes said, for a failure report.
    QString logs() const;

private:
    QProcess* launch(const QString& name, const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& environment);
    bool waitForBusName(const QString& name, int milliseconds);
    QString logFile(const QString& name) const;

    QTemporaryDir m_folder;
    QString m_runtime;
    QString m_swayRuntime;
    QString m_busAddress;
    QString m_waylandSocket;
    QString m_swaySocket;
    QString m_problem;
    QStringList m_names;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    std::unique_ptr<QObject> m_access;
    QString m_busConnection;
};
