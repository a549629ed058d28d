#include "tests/palettes/PaletteTestSession.h"

#include <QAction>
#include <QComboBox>
#include <QStandardPaths>
#include <QTest>

#include "app/ClickableLabel.h"
#include "app/basmain.h"
#include "app/frmshowcolor.h"

QByteArray indexBytes(const QList<IndexLine>& entries)
{
    QByteArray content;
    for (const IndexLine& entry : entries)
        for (const QString& line : {entry.file, entry.name, entry.kind})
            content += line.toLatin1() + "\r\n";
    return content;
}

void writeIndex(const TestDataFolder& folder, const QList<IndexLine>& entries)
{
    folder.write(QStringLiteral("colorchart.cci"), indexBytes(entries));
}

PaletteSession::PaletteSession(const std::function<void(TestDataFolder&)>& prepare)
{
    QStandardPaths::setTestModeEnabled(true);
    if (prepare)
        prepare(folder);
    window.reset(basmain::CreateMainWindow(platform, folder.path()));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
}

PaletteSession::~PaletteSession() = default;

ClickableLabel* PaletteSession::cell(int index) const
{
    return window->findChild<ClickableLabel*>(QStringLiteral("lblcor_%1").arg(index));
}

Color PaletteSession::cellColour(int index) const
{
    return cell(index)->backColor();
}

void PaletteSession::clickCell(int index, Qt::MouseButton button)
{
    QTest::mouseClick(cell(index), button, Qt::NoModifier, QPoint(5, 5));
}

QAction* PaletteSession::action(const QString& name) const
{
    return window->findChild<QAction*>(name);
}

QAction* PaletteSession::tool(const QString& tag) const
{
    return window->toolButton(tag);
}

void PaletteSession::choosePalette(int index)
{
    auto* list = window->findChild<QComboBox*>(QStringLiteral("cmbChart"));
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}
