#include "app/EntryRules.h"

#include <QTest>

using entryrules::FieldKind;

class tst_entryrules : public QObject
{
    Q_OBJECT
private slots:
    void keyFilter_data();
    void keyFilter();
    void repair_data();
    void repair();
};

void tst_entryrules::keyFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<bool>("passes");
    const int dec = int(FieldKind::Decimal);
    const int hex = int(FieldKind::Hexadecimal);
    QTest::newRow("dec digit") << dec << QChar('7') << true;
    QTest::newRow("dec enter") << dec << QChar(13) << true;
    QTest::newRow("dec backspace") << dec << QChar(8) << true;
    QTest::newRow("dec letter x") << dec << QChar('x') << false;
    QTest::newRow("dec hex letter a") << dec << QChar('a') << false;
    QTest::newRow("dec minus") << dec << QChar('-') << false;
    QTest::newRow("dec copy code") << dec << QChar(3) << false;
    QTest::newRow("dec paste code") << dec << QChar(22) << false;
    QTest::newRow("hex upper F") << hex << QChar('F') << true;
    QTest::newRow("hex lower a") << hex << QChar('a') << true;
    QTest::newRow("hex g") << hex << QChar('g') << false;
    QTest::newRow("hex G") << hex << QChar('G') << false;
    QTest::newRow("hex cut code") << hex << QChar(24) << false;
    QTest::newRow("hex space") << hex << QChar(' ') << false;
}

void tst_entryrules::keyFilter()
{
    QFETCH(int, kind);
    QFETCH(QChar, typed);
    QFETCH(bool, passes);
    QCOMPARE(entryrules::KeyPasses(FieldKind(kind), typed), passes);
}

void tst_entryrules::repair_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("repaired");
    const int dec = int(FieldKind::Decimal);
    const int hex = int(FieldKind::Hexadecimal);
    QTest::newRow("dec empty") << dec << ""
                               << "0";
    QTest::newRow("dec valid") << dec << "12"
                               << "12";
    QTest::newRow("dec leading zeros kept") << dec << "007"
                                            << "007";
    QTest::newRow("dec 255") << dec << "255"
                             << "255";
    QTest::newRow("dec 256") << dec << "256"
                             << "255";
    QTest::newRow("dec 300") << dec << "300"
                             << "255";
    QTest::newRow("dec pasted 1a") << dec << "1a"
                                   << "0";
    QTest::newRow("dec space") << dec << " 1"
                               << "0";
    QTest::newRow("hex empty") << hex << ""
                               << "0";
    QTest::newRow("hex lower kept") << hex << "f0"
                                    << "f0";
    QTest::newRow("hex invalid") << hex << "fg"
                                 << "0";
    QTest::newRow("hex FF") << hex << "FF"
                            << "FF";
}

void tst_entryrules::repair()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, repaired);
    QCOMPARE(entryrules::Repair(FieldKind(kind), text), repaired);
    // A repaired text is valid, so a second repair leaves it alone.
    QCOMPARE(entryrules::Repair(FieldKind(kind), repaired), repaired);
}

QTEST_GUILESS_MAIN(tst_entryrules)
#include "tst_entryrules.moc"
