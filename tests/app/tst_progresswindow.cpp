// A long command shows its progress after half a second, and Cancel stops it.
#include "app/ProgressWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

class tst_progresswindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void longWork_showsTheDialog_andCancelStopsIt();
};

namespace {

QProgressDialog* shownDialog()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("dlgProgress") && top->isVisible())
            return qobject_cast<QProgressDialog*>(top);
    return nullptr;
}

} // namespace

void tst_progresswindow::longWork_showsTheDialog_andCancelStopsIt()
{
    QWidget owner;
    owner.show();
    ProgressWindow window(&owner, QStringLiteral("Clearing duplicate colors..."));
    const Progress progress = window.progress();
    QElapsedTimer clock;
    clock.start();
    // Quick work shows nothing.
    while (clock.elapsed() < ProgressWindow::DelayMs - 150) {
        QVERIFY(progress(clock.elapsed(), 10000));
        QVERIFY(!shownDialog());
        QTest::qWait(20);
    }
    QTest::qWait(200);
    QVERIFY(progress(600, 1000));
    QProgressDialog* dialog = shownDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->labelText(), QStringLiteral("Clearing duplicate colors..."));
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->value(), 600);

    QPushButton* cancel = dialog->findChild<QPushButton*>();
    QVERIFY(cancel);
    cancel->click();
    QVERIFY(!progress(700, 1000));
}

QTEST_MAIN(tst_progresswindow)
#include "tst_progresswindow.moc"
