#include "app/platform/QtPlatform.h"

#include "app/InstanceLock.h"
#include "app/SettingsFile.h"
#include "app/handover/LocalServer.h"
#include "app/handover/SecondStart.h"
#include "app/TextBounds.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDBusConnection>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLockFile>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/platform/DesktopPortal.h"
#include "app/platform/PortalCapture.h"

namespace {

// A few frames of the compositor, even on a busy machine.
constexpr int SettleMilliseconds = 150;

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A Wayland session, whether this program talks Wayland or X11 through
// XWayland, whose root window holds none of the Wayland windows' pixels.
bool waylandSession()
{
    return onWayland() || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

ScreenCapture grabScreens()
{
    ScreenCapture capture;
    for (QScreen* screen : QGuiApplication::screens()) {
        // With window 0 the offset is relative to the screen's own top-left
        // corner, not to the desktop; the platform grabs in device pixels, so
        // a scaled screen yields an image larger than its geometry.
        const QRect area = screen->geometry();
        const QPixmap shot = screen->grabWindow(0, 0, 0, area.width(), area.height());
        if (!shot.isNull())
            capture.addScreen(area, shot.toImage());
    }
    return capture;
}

QList<ScreenCapture::Layout> screenLayouts()
{
    QList<ScreenCapture::Layout> layouts;
    for (QScreen* screen : QGuiApplication::screens())
        layouts.append({screen->geometry(), screen->devicePixelRatio()});
    return layouts;
}

// Whether the desktop names a program for the file's type (or one of its
// aliases). Opening a file hands it to xdg-open, which reports a missing
// handler only later and to no one; xdg-mime answers the same question at
// once. Without xdg-mime there is no registered viewer to find: Qt would
// hand the file to any web browser it finds, which cannot show it.
bool desktopHasHandlerFor(const QString& file)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    QStringList names = type.aliases();
    names.prepend(type.name());
    for (const QString& name : names) {
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!query.waitForFinished(5000)) {
            query.kill();
            query.waitForFinished();
            return true;
        }
        if (query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

constexpr int MaxSecondStartConnections = 4;

} // namespace

QtPlatform::QtPlatform(const QString& dataFolder) : m_dataFolder(dataFolder) {}

QtPlatform::~QtPlatform() = default;

QString QtPlatform::readSetting(const QString& key, const QString& defaultValue)
{
    const QVariant value = settingsfile::Value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

void QtPlatform::writeSetting(const QString& key, const QString& value)
{
    settingsfile::SetValue(key, value);
}

void QtPlatform::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

void QtPlatform::setClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString QtPlatform::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QImage QtPlatform::clipboardImage()
{
    return QGuiApplication::clipboard()->image();
}

Platform::Answer QtPlatform::showMessage(QWidget* parent, const QString& text, Buttons buttons,
                                         Icon icon, const QString& title)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    }
    const QMessageBox::StandardButtons standard =
        buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    // A damaged file can make a message of thousands of lines or a name of
    // megabytes: the box shows a summary and keeps the rest behind
    // "Show Details...", so that it always fits the screen.
    const textbounds::BoundedMessage bounded = textbounds::BoundMessage(text);
    QMessageBox box(boxIcon, title, bounded.summary, standard, parent);
    box.setTextFormat(Qt::PlainText);
    if (!bounded.details.isEmpty())
        box.setDetailedText(bounded.details);
    if (buttons == Buttons::YesNo)
        box.setDefaultButton(QMessageBox::Yes);
    const int pressed = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Color QtPlatform::chooseColor(QWidget* parent, Color initial)
{
    const QColor chosen =
        QColorDialog::getColor(QColor(bascommon::GetRed(initial), bascommon::GetGreen(initial),
                                      bascommon::GetBlue(initial)),
                               parent);
    if (!chosen.isValid())
        return initial;
    return bascommon::MakeColor(chosen.red(), chosen.green(), chosen.blue());
}

QString QtPlatform::chooseSaveFile(QWidget* parent, const QString& proposedName,
                                   const QString& defaultSuffix, const QString& filter,
                                   const QString& title)
{
    QString chosenFilter;
    return chooseSaveFileOfType(parent, proposedName, defaultSuffix, filter, title, chosenFilter);
}

QString QtPlatform::chooseSaveFileOfType(QWidget* parent, const QString& proposedName,
                                         const QString& defaultSuffix, const QString& filter,
                                         const QString& title, QString& chosenFilter)
{
    chosenFilter.clear();
    QFileDialog dialog(parent);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setNameFilter(filter);
    dialog.selectFile(proposedName);
    // With several formats on offer, a name typed without an extension gets
    // the one of the format chosen in the dialog (two parts for "*.tokens.json").
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
            static const QRegularExpression firstPattern(QStringLiteral("\\*\\.([\\w.]+)"));
            const QRegularExpressionMatch match = firstPattern.match(chosen);
            if (match.hasMatch())
                dialog.setDefaultSuffix(match.captured(1));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::chooseOpenFile(QWidget* parent, const QString& filter, const QString& title)
{
    QFileDialog dialog(parent);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtPlatform::shellOpen(QWidget* owner, const QString& verb, const QString& target,
                           ShowMode mode)
{
    Q_UNUSED(owner);
    Q_UNUSED(verb);
    Q_UNUSED(mode);
    const QUrl url =
        target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"))
            ? QUrl(target)
            : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

bool QtPlatform::shellOpenFile(QWidget* owner, const QString& verb, const QString& file,
                               ShowMode mode)
{
    Q_UNUSED(owner);
    Q_UNUSED(verb);
    Q_UNUSED(mode);
    return desktopHasHandlerFor(file) && QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtPlatform::anotherInstanceRunning()
{
    return claimOrHandOver(instancemessage::Request()).anotherInstance;
}

Platform::HandOver QtPlatform::handToRunningInstance(const instancemessage::Request& request)
{
    return claimOrHandOver(request);
}

Platform::HandOver QtPlatform::claimOrHandOver(const instancemessage::Request& request)
{
    const auto handOver = [this, &request] {
        return HandOver{true, secondstart::Ask(m_dataFolder, request)};
    };
    if (!m_dataLock) {
        m_dataLock = std::make_unique<InstanceLock>();
        switch (m_dataLock->acquire(m_dataFolder)) {
        case InstanceLock::State::Held:
            listenForSecondStarts();
            return {};
        case InstanceLock::State::HeldElsewhere:
            return handOver();
        case InstanceLock::State::Unavailable:
            break;
        }
    } else if (m_dataLock->held()) {
        return {};
    }

    // A folder that cannot be written holds no lock: one in the runtime
    // folder keeps at least the runs of this session apart.
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(secondstart::RuntimeLockPath(m_dataFolder));
        // Only a lock whose process has gone counts as stale: a long-running
        // instance must keep blocking the next launch.
        m_lock->setStaleLockTime(0);
    }
    if (m_lock->isLocked())
        return {};
    if (!m_lock->tryLock(0))
        return handOver();
    listenForSecondStarts();
    return {};
}

void QtPlatform::listenForSecondStarts()
{
    if (m_server)
        return;
    m_server = std::make_unique<LocalServer>();
    for (const QString& address : secondstart::Addresses(m_dataFolder)) {
        // Holding the lock, this process owns the address: a socket left by a
        // run that ended without closing is in the way, nothing more.
        if (m_server->listen(address))
            break;
    }
    if (!m_server->isListening()) {
        m_server.reset();
        return;
    }
    // Anyone of this user can connect: a start that asks sends its few bytes
    // at once, so a connection is held only briefly, for those bytes, and a
    // few at a time; the rest are closed unread. Descriptors stay bounded
    // however many connect.
    QObject::connect(m_server.get(), &LocalServer::newConnection, m_server.get(), [this] {
        while (LocalConnection* socket = m_server->nextPendingConnection()) {
            if (m_secondStartConnections >= MaxSecondStartConnections) {
                delete socket;
                continue;
            }
            ++m_secondStartConnections;
            QObject::connect(socket, &QObject::destroyed, m_server.get(),
                             [this] { --m_secondStartConnections; });
            serveSecondStart(socket);
        }
    });
}

void QtPlatform::serveSecondStart(LocalConnection* socket)
{
    QObject::connect(socket, &LocalConnection::disconnected, socket, &QObject::deleteLater);
    // Only the request itself has a deadline: once it is in, the answer may
    // take as long as the user picks.
    auto* deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, socket, &LocalConnection::close);
    deadline->start(secondstart::WaitMs);
    auto decoder = std::make_shared<instancemessage::Decoder>();
    const auto take = [this, socket, deadline, decoder] {
        if (decoder->state() != instancemessage::Decoder::State::NeedMore)
            return; // answered already, or being answered
        // Never more than a whole frame: the decoder refuses what goes beyond.
        decoder->feed(
            socket->read(instancemessage::MaxHeaderBytes + instancemessage::MaxPayloadBytes + 1));
        if (decoder->state() == instancemessage::Decoder::State::NeedMore)
            return;
        const std::optional<instancemessage::Request> request = decoder->request();
        if (!request) {
            socket->close();
            return;
        }
        if (request->kind == instancemessage::Request::Kind::Front) {
            socket->close();
            bringWindowToFront();
            return;
        }
        deadline->stop();
        QPointer<LocalConnection> peer(socket);
        const auto answer = [peer](const instancemessage::Reply& reply) {
            if (!peer)
                return; // the start that asked has gone
            peer->writeAndClose(instancemessage::Encode(reply));
        };
        if (!m_requestHandler) {
            answer(instancemessage::Reply::failed(
                QStringLiteral("The running Tintora cannot take the request now: it is starting, "
                               "ending or picking for another command.")));
            return;
        }
        m_requestHandler(*request, answer);
    };
    QObject::connect(socket, &LocalConnection::readyRead, socket, take);
    if (socket->bytesAvailable() > 0)
        take();
}

void QtPlatform::handleSecondStartRequests(SecondStartHandler handler)
{
    m_requestHandler = std::move(handler);
}

void QtPlatform::bringToFrontOnSecondStart(QWidget* window)
{
    m_window = window;
}

void QtPlatform::bringWindowToFront()
{
    QWidget* window = m_window;
    // While the screen picker runs the main window is hidden on purpose: the
    // picker's own windows come forward instead.
    if (!window || !window->isVisible()) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->isWindow()) {
                top->raise();
                top->activateWindow();
            }
        return;
    }
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

void QtPlatform::setTopmost(QWidget* window, bool topmost)
{
    if (!window)
        return;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    // Changing a window's flags hides it; a window that was on screen returns.
    if (wasVisible)
        window->show();
}

void QtPlatform::moveCursor(const QPoint& desktopPosition)
{
    // Wayland lets no client move the pointer; Qt would only warn.
    if (onWayland())
        return;
    QCursor::setPos(desktopPosition);
}

ScreenCapture QtPlatform::captureScreen()
{
    // Chosen anew at each picking run: the X11 picture where the session is
    // X11 and it can be had, the desktop portal's otherwise.
    if (!waylandSession()) {
        ScreenCapture capture = grabScreens();
        if (!capture.isNull())
            return capture;
    }
    // The compositor has to take the hidden main window off the screen
    // before it renders the picture: Qt sends the request when its event
    // loop next waits, and the compositor shows the change with its next frame.
    QEventLoop settle;
    QTimer::singleShot(SettleMilliseconds, &settle, &QEventLoop::quit);
    settle.exec(QEventLoop::ExcludeUserInputEvents);
    DesktopPortal portal(QDBusConnection::sessionBus());
    return portalcapture::Capture(portal, screenLayouts());
}

bool QtPlatform::placesWindowsOnDesktop()
{
    return !onWayland();
}

ScreenColorPick QtPlatform::pickScreenColor()
{
    DesktopPortal portal(QDBusConnection::sessionBus());
    return portalcapture::PickColor(portal);
}
