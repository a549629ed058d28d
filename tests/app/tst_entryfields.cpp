#include <QtTest>
class tst_entryfields : public QObject { Q_OBJECT };
QTEST_MAIN(tst_entryfields)
#include "tst_entryfields.moc"
