#include "models/FormatNames.h"

#include <QSet>
#include <QTest>

// The names a command line gives its notations: every one resolves, the
// program's own names cannot be taken over by a template, and a name that
// means nothing gives nothing rather than some other notation.
class tst_formatnames : public QObject
{
    Q_OBJECT

private:
    const QList<UserTemplate> m_templates{
        {QStringLiteral("Dash"), QStringLiteral("{r}-{g}-{b}"), true},
        {QStringLiteral("hex"), QStringLiteral("not {hex}"), true},
        {QStringLiteral("broken"), QStringLiteral("{nosuchchannel}"), true},
    };
    static constexpr Color Steel = 0xA56E3A; // #3A6EA5

private slots:
    void name_givesText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("hex is the web notation") << "hex"
                                                 << "#3A6EA5";
        QTest::newRow("any case") << "HEX"
                                  << "#3A6EA5";
        QTest::newRow("css rgb") << "rgb"
                                 << "rgb(58 110 165)";
        QTest::newRow("the window's hex") << "css-hex"
                                          << "#3a6ea5";
        QTest::newRow("display-p3 is hyphenated") << "Display-P3"
                                                  << "color(display-p3 0.2773 0.4264 0.6299)";
        QTest::newRow("code form") << "qt"
                                   << "QColor(58, 110, 165)";
        QTest::newRow("copy R,G,B") << "rgb-list"
                                    << "58,110,165";
        QTest::newRow("copy RGB()") << "rgb-function"
                                    << "RGB(58,110,165)";
        QTest::newRow("copy C++ is blue first") << "cpp"
                                                << "0xA56E3A";
        QTest::newRow("copy Java is red first") << "java"
                                                << "0x3A6EA5";
        QTest::newRow("copy VB") << "vb"
                                 << "&H00A56E3A&";
        QTest::newRow("copy braces") << "hex-braces"
                                     << "Hex={3A,6E,A5}";
        QTest::newRow("template by its name, any case") << "dash"
                                                        << "58-110-165";
    }
    void name_givesText()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(formatnames::Format(name, Steel, m_templates), std::optional<QString>(text));
    }

    void unknownOrBroken_givesNothing()
    {
        for (const char* name : {"nope", "", "broken", "#3A6EA5"})
            QVERIFY2(!formatnames::Format(QString::fromLatin1(name), Steel, m_templates), name);
    }

    void catalog_everyNameResolves_once()
    {
        const QList<formatnames::Entry> catalog = formatnames::Catalog(m_templates);
        QSet<QString> seen;
        for (const formatnames::Entry& entry : catalog) {
            QVERIFY2(!seen.contains(entry.name.toLower()), qPrintable(entry.name));
            seen.insert(entry.name.toLower());
            QVERIFY2(formatnames::Format(entry.name, Steel, m_templates), qPrintable(entry.name));
        }
        // Ten CSS, ten code forms, eleven copy items, hex and one usable template.
        QCOMPARE(catalog.size(), 1 + 20 + 11 + 1);
        QCOMPARE(catalog.first().name, QStringLiteral("hex"));
        QVERIFY(catalog.last().isTemplate);
    }
};

QTEST_GUILESS_MAIN(tst_formatnames)
#include "tst_formatnames.moc"
