// Loaded into an installed Tintora with LD_PRELOAD, this drives the program
// the way a user would, through its windows and menus found by objectName:
//   TINTORA_TEST_DRIVE=make   enters #12AB34, adds it to "My Colors" and saves
//                             the scheme on display as "Installed Test";
//   TINTORA_TEST_DRIVE=check  clicks the first cell of "My Colors" and looks
//                             for that colour and that scheme.
// Each step prints a line "drive: ..."; the program then closes its main
// window as the user would, and ends.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <cstdio>
#include <cstdlib>

namespace {

const QString Colour = QStringLiteral("#12AB34");
const QString SchemeName = QStringLiteral("Installed Test");

void say(const QString& line)
{
    std::printf("drive: %s\n", qPrintable(line));
    std::fflush(stdout);
}

QWidget* mainWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmshowcolor") && window->isVisible())
            return window;
    }
    return nullptr;
}

void type(QWidget* window, const char* field, const QString& text)
{
    auto* edit = window->findChild<QLineEdit*>(QLatin1String(field));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Answers the name dialog as soon as it shows.
void answerNameDialog(int triesLeft)
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog && dialog->objectName() == QLatin1String("frmInput")) {
        dialog->findChild<QLineEdit*>(QStringLiteral("txtResult"))->setText(SchemeName);
        dialog->findChild<QAbstractButton*>(QStringLiteral("cmdOk"))->click();
        return;
    }
    if (triesLeft > 0)
        QTimer::singleShot(50, [triesLeft] { answerNameDialog(triesLeft - 1); });
}

void make(QWidget* window)
{
    type(window, "txtr", QStringLiteral("18"));
    type(window, "txtg", QStringLiteral("171"));
    type(window, "txtb", QStringLiteral("52"));
    say(QStringLiteral("current colour ") +
        window->findChild<QLineEdit*>(QStringLiteral("txtrgb"))->text());
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->objectName().startsWith(QLatin1String("mnuAddChart_")) &&
            action->text().remove(QLatin1Char('&')) == QLatin1String("My Colors")) {
            action->trigger();
            say(QStringLiteral("added to My Colors"));
        }
    }
    answerNameDialog(100);
    window->findChild<QAction*>(QStringLiteral("mnuSaveScheme"))->trigger();
    say(QStringLiteral("saved scheme"));
}

void check(QWidget* window)
{
    auto* palettes = window->findChild<QComboBox*>(QStringLiteral("cmbChart"));
    say(QStringLiteral("palette shown ") + palettes->currentText());
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("lblcor_0")), Qt::LeftButton);
    const QString first = window->findChild<QLineEdit*>(QStringLiteral("txtrgb"))->text();
    if (palettes->currentText() == QLatin1String("My Colors") && first == Colour)
        say(QStringLiteral("found colour ") + first);
    auto* schemes = window->findChild<QListWidget*>(QStringLiteral("lstCorset"));
    if (!schemes->findItems(SchemeName, Qt::MatchExactly).isEmpty())
        say(QStringLiteral("found scheme ") + SchemeName);
}

void driveWhenShown(int triesLeft)
{
    QWidget* window = mainWindow();
    if (!window) {
        if (triesLeft > 0)
            QTimer::singleShot(50, [triesLeft] { driveWhenShown(triesLeft - 1); });
        else
            say(QStringLiteral("the main window never showed"));
        return;
    }
    const QByteArray mode = qgetenv("TINTORA_TEST_DRIVE");
    if (mode == "make")
        make(window);
    else if (mode == "check")
        check(window);
    window->close();
}

void startDriving()
{
    if (qEnvironmentVariableIsEmpty("TINTORA_TEST_DRIVE"))
        return;
    // A program that hangs must not hang the test.
    QTimer::singleShot(0, [] { driveWhenShown(400); });
    QTimer::singleShot(45000, [] {
        say(QStringLiteral("gave up"));
        std::_Exit(3);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriving)
