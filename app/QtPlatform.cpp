#include "app/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCryptographicHash>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLockFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace {

QSettings programSettings()
{
    return QSettings(QStringLiteral("quorvane software"), QStringLiteral("Tintora 3.7"));
}

QColor toQColor(Color value)
{
    return QColor(bascommon::GetRed(value), bascommon::GetGreen(value), bascommon::GetBlue(value));
}

QString lockFilePath(const QString& dataFolder)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(QDir(dataFolder).canonicalPath().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return folder + QStringLiteral("/tintora-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

} // namespace

QtPlatform::QtPlatform(const QString& dataFolder) : m_dataFolder(dataFolder) {}

QtPlatform::~QtPlatform() = default;

QString QtPlatform::readSetting(const QString& key, const QString& defaultValue)
{
    return programSettings().value(key, defaultValue).toString();
}

void QtPlatform::writeSetting(const QString& key, const QString& value)
{
    QSettings settings = programSettings();
    settings.setValue(key, value);
    settings.sync();
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

Platform::Answer QtPlatform::showMessage(QWidget* parent, const QString& text, Buttons buttons,
                                         Icon icon, const QString& title)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information: boxIcon = QMessageBox::Information; break;
    case Icon::Warning: boxIcon = QMessageBox::Warning; break;
    case Icon::Critical: boxIcon = QMessageBox::Critical; break;
    case Icon::Question: boxIcon = QMessageBox::Question; break;
    }
    const QMessageBox::StandardButtons standard =
        buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    QMessageBox box(boxIcon, title, text, standard, parent);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNo)
        box.setDefaultButton(QMessageBox::Yes);
    const int pressed = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Color QtPlatform::chooseColor(QWidget* parent, Color initial)
{
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
    if (!chosen.isValid())
        return initial;
    return bascommon::MakeColor(chosen.red(), chosen.green(), chosen.blue());
}

QString QtPlatform::chooseSaveFile(QWidget* parent, const QString& proposedName,
                                   const QString& defaultSuffix, const QString& filter)
{
    QString chosenFilter;
    return chooseSaveFileOfType(parent, proposedName, defaultSuffix, filter, chosenFilter);
}

QString QtPlatform::chooseSaveFileOfType(QWidget* parent, const QString& proposedName,
                                         const QString& defaultSuffix, const QString& filter,
                                         QString& chosenFilter)
{
    chosenFilter.clear();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setNameFilter(filter);
    dialog.selectFile(proposedName);
    // With several formats on offer, a name typed without an extension gets
    // the one of the format chosen in the dialog (two parts for "*.tokens.json").
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
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

QString QtPlatform::chooseOpenFile(QWidget* parent, const QString& filter)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtPlatform::shellOpen(QWidget* owner, const QString& verb, const QString& target, ShowMode mode)
{
    Q_UNUSED(owner);
    Q_UNUSED(verb);
    Q_UNUSED(mode);
    const QUrl url = target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"))
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

bool QtPlatform::anotherInstanceRunning()
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(lockFilePath(m_dataFolder));
        // Only a lock whose process has gone counts as stale: a long-running
        // instance must keep blocking the next launch.
        m_lock->setStaleLockTime(0);
    }
    if (m_lock->isLocked())
        return false;
    return !m_lock->tryLock(0);
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
    QCursor::setPos(desktopPosition);
}

ScreenCapture QtPlatform::captureScreen()
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
