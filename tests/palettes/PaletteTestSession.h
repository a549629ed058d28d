#pragma once

#include <QList>
#include <QString>

#include "app/bascommon.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <functional>
#include <memory>

class ClickableLabel;
class QAction;
class frmshowcolor;

// One palette index entry: file name, display name, kind.
struct IndexLine
{
    QString file;
    QString name;
    QString kind;
};

// The bytes of a palette index with CR LF lines.
QByteArray indexBytes(const QList<IndexLine>& entries);
// Writes them to "colorchart.cci".
void writeIndex(const TestDataFolder& folder, const QList<IndexLine>& entries);

// A main window on its own copy of the shipped data, shown offscreen. The data
// can be changed before the window starts.
class PaletteSession
{
public:
    explicit PaletteSession(const std::function<void(TestDataFolder&)>& prepare = {});
    ~PaletteSession();

    FakePlatform platform;
    TestDataFolder folder;
    std::unique_ptr<frmshowcolor> window;

    ClickableLabel* cell(int index) const;
    Color cellColour(int index) const;
    void clickCell(int index, Qt::MouseButton button = Qt::LeftButton);
    QAction* action(const QString& name) const;
    QAction* tool(const QString& tag) const;
    // Selects a palette the way a user does, with the keyboard on the list.
    void choosePalette(int index);
};
