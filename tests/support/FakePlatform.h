#pragma once

#include "app/platform/Platform.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QStringList>

#include <optional>

// Records every platform call and answers the dialogs from queues that the test
// fills. A dialog the test did not script never opens: it is recorded in
// `unexpected`, which each test checks in its cleanup.
class FakePlatform final : public Platform
{
public:
    struct Message
    {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };
    struct SaveRequest
    {
        QString proposedName;
        QString defaultSuffix;
        QString filter;
        QString title;
    };
    struct ShellRequest
    {
        QString verb;
        QString target;
        ShowMode mode;
        bool hasOwner;
    };

    // Settings
    QMap<QString, QString> settings;
    // Clipboard
    QString clipboard;
    int clipboardClears = 0;
    int clipboardWrites = 0;
    // The clipboard's picture, and how often it was asked for
    QImage clipboardPicture;
    int clipboardPictureReads = 0;
    // Message boxes, and the answers to Yes/No questions in order
    QList<Message> messages;
    QList<Answer> answers;
    // Colour dialog: each answer is a colour, or nullopt for Cancel
    QList<std::optional<Color>> colorAnswers;
    QList<Color> colorDialogInitials;
    // File-save dialog: each answer is a path, or empty text for Cancel
    QStringList saveAnswers;
    QList<SaveRequest> saveRequests;
    // For a save dialog with a choice of formats: the filter left chosen with
    // each answer; the first of the dialog's filters when none is scripted.
    QStringList saveFilterAnswers;
    // File-open dialog: each answer is a path, or empty text for Cancel; the
    // filter of each request
    QStringList openAnswers;
    QStringList openRequests;
    QStringList openTitles;
    // Shell requests
    QList<ShellRequest> shellRequests;
    // Whether the desktop takes the files handed to shellOpenFile (which are
    // recorded in shellRequests too)
    bool desktopOpensFiles = true;
    // Single instance
    bool otherInstanceRunning = false;
    // Topmost requests, in order
    QList<QPair<QPointer<QWidget>, bool>> topmostRequests;
    // Screen capture: the picture handed out, and how often it was asked for
    ScreenCapture screen;
    int captureCount = 0;
    // Where the program put the mouse cursor, in order
    QList<QPoint> cursorMoves;
    // The window that a second start would bring to the front
    QPointer<QWidget> secondStartWindow;

    // Window placement: false stands for Wayland, where each screen of the
    // frozen picture gets a full-screen window of its own
    bool placesWindows = true;
    // The desktop's colour picker: the answers in order, and how often it was
    // asked for; a pick the test did not script is unexpected
    QList<ScreenColorPick> colorPicks;
    int colorPickCount = 0;

    QStringList unexpected;

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

    // The texts of the message boxes shown so far.
    QStringList messageTexts() const;
};
