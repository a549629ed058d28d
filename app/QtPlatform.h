#pragma once

#include "app/Platform.h"

#include <QString>

#include <memory>

class QLockFile;

// The platform services carried out with Qt.
class QtPlatform final : public Platform {
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
    Answer showMessage(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                       const QString& title) override;
    Color chooseColor(QWidget* parent, Color initial) override;
    QString chooseSaveFile(QWidget* parent, const QString& proposedName, const QString& defaultSuffix,
                           const QString& filter, const QString& title = QString()) override;
    QString chooseOpenFile(QWidget* parent, const QString& filter, const QString& title = QString()) override;
    QString chooseSaveFileOfType(QWidget* parent, const QString& proposedName,
                                 const QString& defaultSuffix, const QString& filter,
                                 const QString& title, QString& chosenFilter) override;
    void shellOpen(QWidget* owner, const QString& verb, const QString& target, ShowMode mode) override;
    bool shellOpenFile(QWidget* owner, const QString& verb, const QString& file, ShowMode mode) override;
    bool anotherInstanceRunning() override;
    void setTopmost(QWidget* window, bool topmost) override;
    ScreenCapture captureScreen() override;
    void moveCursor(const QPoint& desktopPosition) override;
    bool placesWindowsOnDesktop() override;
    ScreenColorPick pickScreenColor() override;

private:
    QString m_dataFolder;
    std::unique_ptr<QLockFile> m_lock;
};
