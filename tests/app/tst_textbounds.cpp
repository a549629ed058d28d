// Names and messages cut to what a list, a menu and a message box can show.
#include "app/TextBounds.h"

#include <QTest>

using namespace textbounds;

class tst_textbounds : public QObject
{
    Q_OBJECT
private slots:
    void boundMessage_data();
    void boundMessage();
    void boundMessage_keepsRunsThatBreakOnTheirOwn_data();
    void boundMessage_keepsRunsThatBreakOnTheirOwn();
    void boundName_keepsSurrogatePairsWhole();
    void shownName_quotesTheBeginningAndTheLength();
};

void tst_textbounds::boundMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("summaryLines");
    QTest::addColumn<bool>("hasDetails");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("short message, shown whole")
        << "Could not read \"x\"." << 1 << false << "Could not read \"x\".";
    QTest::newRow("ten lines fit")
        << QStringList(10, QStringLiteral("line")).join('\n') << 10 << false << "line";
    QTest::newRow("a damaged index's thousands of lines")
        << QStringList(5000, QStringLiteral("Entry names the file \"x.dat\".")).join('\n') << 11
        << true << "(4990 more lines under \"Show Details...\")";
    QTest::newRow("long lines fill the summary sooner")
        << QStringList(20, QString(400, QLatin1Char('w'))).join('\n') << 5 << true
        << "(16 more lines under \"Show Details...\")";
    QTest::newRow("one line of a megabyte") << QString(1 << 20, QLatin1Char('a')) << 2 << true
                                            << "(The full text is under \"Show Details...\")";
}

void tst_textbounds::boundMessage()
{
    QFETCH(QString, text);
    QFETCH(int, summaryLines);
    QFETCH(bool, hasDetails);
    QFETCH(QString, lastLine);
    const BoundedMessage message = BoundMessage(text);
    const QStringList lines = message.summary.split('\n');
    QCOMPARE(lines.size(), summaryLines);
    QCOMPARE(lines.constLast(), lastLine);
    for (const QString& line : lines) {
        // No line too long for the box, and no run without a break in it.
        QVERIFY(line.size() <= MaxLineLength + MaxLineLength / 60 + 1);
        for (const QString& run : QString(line).replace(QChar(0x200B), ' ').split(' '))
            QVERIFY(run.size() <= 60);
    }
    QCOMPARE(!message.details.isEmpty(), hasDetails);
    if (hasDetails)
        QCOMPARE(message.details, text.left(MaxDetailsLength) +
                                      (text.size() > MaxDetailsLength
                                           ? QStringLiteral("\n\u2026 (%1 more characters)")
                                                 .arg(text.size() - MaxDetailsLength)
                                           : QString()));
}

void tst_textbounds::boundMessage_keepsRunsThatBreakOnTheirOwn_data()
{
    // A box quoting a name says exactly what its caller wrote, as long as the
    // text layout can break the name anyway.
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("asWritten");
    QTest::newRow("hyphenated name") << "Are you sure you want to delete color scheme "
                                        "\"my-company-website-dark-theme-with-orange-accents-"
                                        "version-2\"?"
                                     << true;
    QTest::newRow("path") << "Could not read /home/designer/projects/customer-website/"
                             "assets/palettes/colorchart.cci."
                          << true;
    QTest::newRow("hyphens before digits break nothing")
        << QStringLiteral("x-1").repeated(30) << false;
    QTest::newRow("letters alone") << QString(61, u'a') << false;
}

void tst_textbounds::boundMessage_keepsRunsThatBreakOnTheirOwn()
{
    QFETCH(QString, text);
    QFETCH(bool, asWritten);
    const BoundedMessage message = BoundMessage(text);
    QCOMPARE(message.summary == text, asWritten);
    QCOMPARE(QString(message.summary).remove(QChar(0x200B)), text);
}

void tst_textbounds::boundName_keepsSurrogatePairsWhole()
{
    bool cut = false;
    const QString name = QString(MaxNameLength - 1, 'a') + QStringLiteral("\U0001F3A8 and more");
    const QString bounded = BoundName(name, &cut);
    QVERIFY(cut);
    QCOMPARE(bounded, QString(MaxNameLength - 1, 'a'));
    QCOMPARE(BoundName(QStringLiteral("Web"), &cut), QStringLiteral("Web"));
    QVERIFY(!cut);
}

void tst_textbounds::shownName_quotesTheBeginningAndTheLength()
{
    QCOMPARE(ShownName(QStringLiteral("My Colors")), QStringLiteral("My Colors"));
    QCOMPARE(ShownName(QString(100000, 'p')),
             QString(MaxShownNameLength, 'p') + QStringLiteral("\u2026 (100000 characters)"));
}

QTEST_GUILESS_MAIN(tst_textbounds)
#include "tst_textbounds.moc"
