#include "tests/support/FakePlatform.h"

#include <QWidget>

QString FakePlatform::readSetting(const QString& key, const QString& defaultValue)
{
    return settings.value(key, defaultValue);
}

void FakePlatform::writeSetting(const QString& key, const QString& value)
{
    settings.insert(key, value);
}

void FakePlatform::clearClipboard()
{
    ++clipboardClears;
    clipboard.clear();
}

void FakePlatform::setClipboardText(const QString& text)
{
    ++clipboardWrites;
    clipboard = text;
}

QString FakePlatform::clipboardText()
{
    return clipboard;
}

QImage FakePlatform::clipboardImage()
{
    ++clipboardPictureReads;
    return clipboardPicture;
}

Platform::Answer FakePlatform::showMessage(QWidget*, const QString& text, Buttons buttons,
                                           Icon icon, const QString& title)
{
    messages.append({text, title, buttons, icon});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.isEmpty()) {
        unexpected.append(QStringLiteral("unscripted question: ") + text);
        return Answer::No;
    }
    return answers.takeFirst();
}

Color FakePlatform::chooseColor(QWidget*, Color initial)
{
    colorDialogInitials.append(initial);
    if (colorAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("unscripted colour dialog"));
        return initial;
    }
    const std::optional<Color> answer = colorAnswers.takeFirst();
    return answer.value_or(initial);
}

QString FakePlatform::chooseSaveFile(QWidget*, const QString& proposedName,
                                     const QString& defaultSuffix, const QString& filter,
                                     const QString& title)
{
    saveRequests.append({proposedName, defaultSuffix, filter, title});
    if (saveAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("unscripted save dialog for ") + proposedName);
        return {};
    }
    return saveAnswers.takeFirst();
}

QString FakePlatform::chooseSaveFileOfType(QWidget* parent, const QString& proposedName,
                                           const QString& defaultSuffix, const QString& filter,
                                           const QString& title, QString& chosenFilter)
{
    chosenFilter = saveFilterAnswers.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0)
                                               : saveFilterAnswers.takeFirst();
    return chooseSaveFile(parent, proposedName, defaultSuffix, filter, title);
}

QString FakePlatform::chooseOpenFile(QWidget*, const QString& filter, const QString& title)
{
    openRequests.append(filter);
    openTitles.append(title);
    if (openAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("unscripted open dialog for ") + filter);
        return {};
    }
    return openAnswers.takeFirst();
}

void FakePlatform::shellOpen(QWidget* owner, const QString& verb, const QString& target,
                             ShowMode mode)
{
    shellRequests.append({verb, target, mode, owner != nullptr});
}

bool FakePlatform::shellOpenFile(QWidget* owner, const QString& verb, const QString& file,
                                 ShowMode mode)
{
    shellRequests.append({verb, file, mode, owner != nullptr});
    return desktopOpensFiles;
}

bool FakePlatform::anotherInstanceRunning()
{
    return otherInstanceRunning;
}

void FakePlatform::setTopmost(QWidget* window, bool topmost)
{
    topmostRequests.append({QPointer<QWidget>(window), topmost});
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (wasVisible)
        window->show();
}

ScreenCapture FakePlatform::captureScreen()
{
    ++captureCount;
    return screen;
}

void FakePlatform::moveCursor(const QPoint& desktopPosition)
{
    cursorMoves.append(desktopPosition);
}

bool FakePlatform::placesWindowsOnDesktop()
{
    return placesWindows;
}

ScreenColorPick FakePlatform::pickScreenColor()
{
    ++colorPickCount;
    if (colorPicks.isEmpty()) {
        unexpected.append(QStringLiteral("unscripted desktop color picker"));
        return {ScreenColorPick::Outcome::Cancelled, bascommon::Black};
    }
    return colorPicks.takeFirst();
}

QStringList FakePlatform::messageTexts() const
{
    QStringList texts;
    for (const Message& message : messages)
        texts.append(message.text);
    return texts;
}

void FakePlatform::bringToFrontOnSecondStart(QWidget* window)
{
    secondStartWindow = window;
}
