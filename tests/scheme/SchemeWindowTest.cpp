#include "tests/scheme/SchemeWindowTest.h"

#include "app/ClickableLabel.h"
#include "app/basmain.h"
#include "app/frmshowcolor.h"
#include "tests/scheme/SchemeTestData.h"
#include "tests/support/ModalScript.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

SchemeWindowTest::SchemeWindowTest()
{
    QStandardPaths::setTestModeEnabled(true);
}

SchemeWindowTest::~SchemeWindowTest() = default;

frmshowcolor& SchemeWindowTest::open(const QByteArray& names, const QByteArray& colors)
{
    folder.remove(QStringLiteral("set.hcs"));
    folder.remove(QStringLiteral("colorset.dat"));
    if (!names.isNull())
        folder.write(QStringLiteral("set.hcs"), names);
    if (!colors.isNull())
        folder.write(QStringLiteral("colorset.dat"), colors);
    m_window.reset(basmain::CreateMainWindow(platform, folder.path()));
    return *m_window;
}

frmshowcolor& SchemeWindowTest::openFour()
{
    return open(schemetest::nameList(schemetest::fourNames()), schemetest::fourColors());
}

frmshowcolor& SchemeWindowTest::restart()
{
    m_window.reset();
    m_window.reset(basmain::CreateMainWindow(platform, folder.path()));
    return *m_window;
}

void SchemeWindowTest::showActive()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

namespace schemetest {

QStringList fourNames()
{
    return {QStringLiteral("Classic"), QStringLiteral("Night"), QStringLiteral("Paper"),
            QStringLiteral("Forest")};
}

QByteArray fourColors()
{
    return record({"#000000", "#FFFFFF", "#0000FF", "#800080", "#FF0000", "#FF6600"}) +
           record({"#FFFFFF", "#000000", "#00FFFF", "#FF00FF", "#FFFF00", "#00FF00"}) +
           record({"#333333", "#F5E6CA", "#336699", "#996633", "#CC3300", "#FF9900"}) +
           record({"#2F3E2E", "#F4F1E8", "#2E7D32", "#6D4C41", "#C62828", "#E65100"});
}

void clickSample(ClickableLabel* sample, Qt::MouseButton button)
{
    const QPoint centre = sample->rect().center();
    QTest::mousePress(sample, button, {}, centre);
    QTest::mouseRelease(sample, button, {}, centre);
}

void whenWindowShown(const QString& objectName, std::function<void(QWidget*)> action)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, objectName, action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == objectName && widget->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(widget);
                return;
            }
        }
        if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void answerNameDialog(const QString& typed)
{
    whenWindowShown(QStringLiteral("frmInput"), [typed](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("txtResult"))->setText(typed);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
    });
}

} // namespace schemetest
