#include <QtTest>
class tst_mainwindow : public QObject { Q_OBJECT };
QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
