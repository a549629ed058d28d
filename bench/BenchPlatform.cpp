#include "bench/BenchPlatform.h"

#include <cstdio>

QString BenchPlatform::readSetting(const QString& key, const QString& defaultValue)
{
    return settings.value(key, defaultValue);
}

void BenchPlatform::writeSetting(const QString&, const QString&) {}
void BenchPlatform::clearClipboard() {}
void BenchPlatform::setClipboardText(const QString&) {}
QString BenchPlatform::clipboardText()
{
    return {};
}

Platform::Answer BenchPlatform::showMessage(QWidget*, const QString& text, Buttons buttons, Icon,
                                            const QString&)
{
    std::fprintf(stderr, "message during the benchmark: %s\n", qPrintable(text));
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

Color BenchPlatform::chooseColor(QWidget*, Color initial)
{
    return initial;
}

QString BenchPlatform::chooseSaveFile(QWidget*, const QString&, const QString&, const QString&,
                                      const QString&)
{
    return {};
}

QString BenchPlatform::chooseOpenFile(QWidget*, const QString&, const QString&)
{
    return {};
}

void BenchPlatform::shellOpen(QWidget*, const QString&, const QString&, ShowMode) {}

bool BenchPlatform::shellOpenFile(QWidget*, const QString&, const QString&, ShowMode)
{
    return true;
}

bool BenchPlatform::anotherInstanceRunning()
{
    return false;
}

void BenchPlatform::setTopmost(QWidget*, bool) {}

void BenchPlatform::moveCursor(const QPoint&) {}

ScreenCapture BenchPlatform::captureScreen()
{
    return screen;
}
