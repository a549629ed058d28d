#pragma once

#include "tests/support/FakePlatform.h"
#include "tests/support/TestData.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <memory>

class frmshowcolor;
class ClickableLabel;
class QWidget;

// A main window on a data folder of its own, with the saved schemes a case
// asks for. Every case starts from a fresh one.
class SchemeWindowTest
{
public:
    SchemeWindowTest();
    ~SchemeWindowTest();

    // Writes the scheme files (null content: the file is left out) and opens
    // the main window on them as start-up does.
    frmshowcolor& open(const QByteArray& names, const QByteArray& colors);
    // The four-scheme set used by most cases; see the .cpp for its colours.
    frmshowcolor& openFour();
    // Closes the window and starts a new one on the same folder.
    frmshowcolor& restart();
    // Shows the window and waits until it is active, for cases that depend on
    // the input focus.
    void showActive();

    frmshowcolor& window() const { return *m_window; }
    FakePlatform platform;
    TestDataFolder folder;

private:
    std::unique_ptr<frmshowcolor> m_window;
};

namespace schemetest {

// The four schemes of openFour(), in list order.
QStringList fourNames();
QByteArray fourColors();

// Releases `button` over a sample (after pressing it there).
void clickSample(ClickableLabel* sample, Qt::MouseButton button);

// Runs `action` on the first visible top-level widget called `objectName` once
// it appears; gives up after five seconds.
void whenWindowShown(const QString& objectName, std::function<void(QWidget*)> action);

// The text of the frmInput name dialog, typed and confirmed with OK, once the
// dialog shows.
void answerNameDialog(const QString& typed);

} // namespace schemetest
