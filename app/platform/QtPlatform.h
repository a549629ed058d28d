#pragma once

#include "app/platform/Platform.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class InstanceLock;
class LocalConnection;
class LocalServer;
class QLockFile;

// The platform services carried out with Qt.
class QtPlatform final : public Platform
{
public:
    // `dataFolder` scopes the single-instance lock: one running program per
    // set of data files, which is what the lock protects.
    explicit QtPlatform(const QString& dataFolder);
    ~QtPlatform() override;

    QString readSetting(const QString& key, const QString& defaultValue) override;
    void writeSetting(const QString& key, const QString& value) override;
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    QImage clipboardImage() override;
    Answer showMessage(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                       const QString& title) override;
    Color chooseColor(QWidget* parent, Color initial) override;
    QString chooseSaveFile(QWidget* parent, const QString& proposedName,
                           const QString& defaultSuffix, const QString& filter,
                           const QString& title = QString()) override;
    QString chooseOpenFile(QWidget* parent, const QString& filter,
                           const QString& title = QString()) override;
    QString chooseSaveFileOfType(QWidget* parent, const QString& proposedName,
                                 const QString& defaultSuffix, const QString& filter,
                                 const QString& title, QString& chosenFilter) override;
    void shellOpen(QWidget* owner, const QString& verb, const QString& target,
                   ShowMode mode) override;
    bool shellOpenFile(QWidget* owner, const QString& verb, const QString& file,
                       ShowMode mode) override;
    bool anotherInstanceRunning() override;
    void setTopmost(QWidget* window, bool topmost) override;
    ScreenCapture captureScreen() override;
    void moveCursor(const QPoint& desktopPosition) override;
    bool placesWindowsOnDesktop() override;
    ScreenColorPick pickScreenColor() override;
    void bringToFrontOnSecondStart(QWidget* window) override;
    HandOver handToRunningInstance(const instancemessage::Request& request) override;
    void handleSecondStartRequests(SecondStartHandler handler) override;

private:
    // Starts listening for later starts; the first name that works is used.
    void listenForSecondStarts();
    void bringWindowToFront();
    void serveSecondStart(LocalConnection* socket);
    // The lock taken, or the running instance asked with `request`.
    HandOver claimOrHandOver(const instancemessage::Request& request);

    QString m_dataFolder;
    // The lock in the data folder, or, where the folder gives none, the one
    // in the runtime folder.
    std::unique_ptr<InstanceLock> m_dataLock;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<LocalServer> m_server;
    // Connections of later starts open now.
    int m_secondStartConnections = 0;
    QPointer<QWidget> m_window;
    SecondStartHandler m_requestHandler;
};
