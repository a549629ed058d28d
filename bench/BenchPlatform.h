#pragma once

#include "app/platform/Platform.h"

#include <QMap>

// A platform that shows nothing and answers every question with No, so that a
// benchmark never waits for a person. Messages go to standard error, since one
// during a measurement means the figure is not what it claims to be.
class BenchPlatform final : public Platform
{
public:
    QString readSetting(const QString& key, const QString& defaultValue) override;
    void writeSetting(const QString& key, const QString& value) override;
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    Answer showMessage(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                       const QString& title) override;
    Color chooseColor(QWidget* parent, Color initial) override;
    QString chooseSaveFile(QWidget* parent, const QString& proposedName,
                           const QString& defaultSuffix, const QString& filter,
                           const QString& title = QString()) override;
    QString chooseOpenFile(QWidget* parent, const QString& filter,
                           const QString& title = QString()) override;
    void shellOpen(QWidget* owner, const QString& verb, const QString& target,
                   ShowMode mode) override;
    bool shellOpenFile(QWidget* owner, const QString& verb, const QString& file,
                       ShowMode mode) override;
    bool anotherInstanceRunning() override;
    void setTopmost(QWidget* window, bool topmost) override;
    ScreenCapture captureScreen() override;
    void moveCursor(const QPoint& desktopPosition) override;
    void bringToFrontOnSecondStart(QWidget* window) override;

    // The picture that a picking run gets.
    ScreenCapture screen;
    // Settings as the program would find them; nothing is written back.
    QMap<QString, QString> settings;
};
