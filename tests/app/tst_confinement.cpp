// Only DataFolderAccess reaches into the data folder. Qt's file classes follow
// links, so a logic source that hands them a path inside the data folder
// reopens the hole the class closes: this test reads the sources of every
// logic library (as their CMake files list them) and fails on any statement
// that gives QFile, QSaveFile, QDir, QFileInfo or QDirIterator such a path.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTest>

#include <utility>

namespace {

// Names that hold the data folder, a path built from it, or the name of a
// file in it.
const QStringList DataFolderNames = {
    QStringLiteral("dataFolder"),       QStringLiteral("m_dataFolder"),
    QStringLiteral("DataFilePath"),     QStringLiteral("dataFilePath"),
    QStringLiteral("indexPath"),        QStringLiteral("recordPath"),
    QStringLiteral("IndexFileName"),    QStringLiteral("IndexTempFileName"),
    QStringLiteral("NamesFile"),        QStringLiteral("ColorsFile"),
    QStringLiteral("NamesTempFile"),    QStringLiteral("ColorsTempFile"),
    QStringLiteral("RecentColorsFile"),
};

// The source without comments and the contents of string and character
// literals, statement by statement,
// each with the line it starts on.
QList<std::pair<int, QString>> statementsOf(const QString& source)
{
    QList<std::pair<int, QString>> statements;
    QString current;
    int line = 1;
    int startLine = 1;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        if (c == QLatin1Char('/') && i + 1 < source.size() &&
            source.at(i + 1) == QLatin1Char('/')) {
            while (i < source.size() && source.at(i) != QLatin1Char('\n'))
                ++i;
            --i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < source.size() &&
            source.at(i + 1) == QLatin1Char('*')) {
            for (i += 2; i + 1 < source.size() && !(source.at(i) == QLatin1Char('*') &&
                                                    source.at(i + 1) == QLatin1Char('/'));
                 ++i)
                line += source.at(i) == QLatin1Char('\n') ? 1 : 0;
            ++i;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            current += QString(2, c);
            for (++i; i < source.size() && source.at(i) != c; ++i)
                if (source.at(i) == QLatin1Char('\\'))
                    ++i;
            continue;
        }
        if (c == QLatin1Char('\n'))
            ++line;
        if (current.trimmed().isEmpty())
            startLine = line;
        if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            if (!current.trimmed().isEmpty())
                statements.append({startLine, current.simplified()});
            current.clear();
            continue;
        }
        current += c;
    }
    return statements;
}

// The statements of `source` that give a Qt file class a data-folder path:
// one built from a data-folder name in the statement itself, or held in a
// variable that some statement of the source built from one. A name is
// followed through the whole source, not only below where it is built: a
// helper that opens its `path` parameter is often defined above the routine
// that hands it a data-folder path under that name.
QStringList dataFolderPathsGivenToQt(const QString& source)
{
    static const QRegularExpression qtFileUse(
        QStringLiteral(R"(\b(QFile|QSaveFile|QDir|QFileInfo|QDirIterator)\b\s*)"
                       R"((::\s*(?!encodeName|decodeName|toNativeSeparators|cleanPath)\w+\s*\(|)"
                       R"(\w*\s*[({])|\.setFileName\s*\()"));
    // `path = ...`, or `QString path(...)`.
    static const QRegularExpression assignment(
        QStringLiteral(R"(\b(\w+)\s*=(?!=)|\bQString\s+(\w+)\s*[({])"));
    const QList<std::pair<int, QString>> statements = statementsOf(source);
    const auto usesAny = [](const QString& statement, const QSet<QString>& names) {
        const QStringList words =
            statement.split(QRegularExpression(QStringLiteral(R"(\W+)")), Qt::SkipEmptyParts);
        for (const QString& word : words)
            if (names.contains(word))
                return true;
        return false;
    };
    // `const QString path = DataFilePath(...)`: `path` holds one. Repeated
    // until no new name is found, so that the order of the routines does not
    // matter.
    QSet<QString> tainted(DataFolderNames.begin(), DataFolderNames.end());
    for (qsizetype before = -1; before != tainted.size();) {
        before = tainted.size();
        for (const auto& [line, statement] : statements) {
            if (!usesAny(statement, tainted) || qtFileUse.match(statement).hasMatch())
                continue;
            if (const QRegularExpressionMatch assigned = assignment.match(statement);
                assigned.hasMatch())
                tainted.insert(assigned.captured(1).isEmpty() ? assigned.captured(2)
                                                              : assigned.captured(1));
        }
    }
    QStringList found;
    for (const auto& [line, statement] : statements)
        if (usesAny(statement, tainted) && qtFileUse.match(statement).hasMatch())
            found.append(QStringLiteral("line %1: %2").arg(line).arg(statement));
    return found;
}

// The sources of the static libraries other than the user interface's.
QStringList logicSources()
{
    static const QRegularExpression library(
        QStringLiteral(R"(add_library\s*\(\s*(\w+)\s+STATIC([^)]*)\))"));
    QStringList sources;
    const QString root = QStringLiteral(TINTORA_SOURCE_DIR);
    for (const QString& folder : {QStringLiteral("app"), QStringLiteral("palettes"),
                                  QStringLiteral("scheme"), QStringLiteral("models")}) {
        QDirIterator it(root + QLatin1Char('/') + folder, {QStringLiteral("CMakeLists.txt")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString cmake = it.next();
            QFile file(cmake);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& match : library.globalMatch(text)) {
                if (match.captured(1) == QLatin1String("tintora_ui"))
                    continue;
                for (const QString& name : match.captured(2).split(
                         QRegularExpression(QStringLiteral(R"(\s+)")), Qt::SkipEmptyParts))
                    if (name.endsWith(QLatin1String(".cpp")))
                        sources.append(QFileInfo(cmake).dir().filePath(name));
            }
        }
    }
    return sources;
}

} // namespace

class tst_confinement : public QObject
{
    Q_OBJECT
private slots:
    void check_findsPathsGivenToQt_data();
    void check_findsPathsGivenToQt();
    void logicLibraries_reachTheDataFolderOnlyThroughItsClass();
};

void tst_confinement::check_findsPathsGivenToQt_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("found");
    QTest::newRow("built in place")
        << "QFile file(bascommon::DataFilePath(dataFolder, name));" << true;
    QTest::newRow("held in a variable")
        << "const QString path = DataFilePath(m_dataFolder, x);\nif (QFileInfo::exists(path)) {}"
        << true;
    QTest::newRow("named later") << "QString p = dataFilePath(n); QFile f; f.setFileName(p);"
                                 << true;
    QTest::newRow("listed") << "QDirIterator it(dataFolder, {}, QDir::Files);" << true;
    QTest::newRow("a parameter, named so where a caller builds it")
        << "FileResult open(const QString& path) { const QFileInfo info(path); }\n"
           "void read() { const QString path = indexPath(dataFolder); open(path); }"
        << true;
    QTest::newRow("a data file's name")
        << "const QString path = filePath(NamesFile);\nQFile file(path);" << true;
    QTest::newRow("through the class")
        << "QFile file; const DataFolderAccess folder(dataFolder); folder.open(file, name);"
        << false;
    QTest::newRow("a message") << "describeFileError(a, QDir::toNativeSeparators(dataFolder), r);"
                               << false;
    QTest::newRow("in a comment") << "// QFile file(dataFolder + name);" << false;
    QTest::newRow("a user's own file") << "QFile file(chosenPath);" << false;
    QTest::newRow("after a test of the folder")
        << "if (folder(dataFolder).exists()) return x;\nif (QFileInfo::exists(shipped)) {}"
        << false;
}

void tst_confinement::check_findsPathsGivenToQt()
{
    QFETCH(QString, source);
    QFETCH(bool, found);
    QCOMPARE(!dataFolderPathsGivenToQt(source).isEmpty(), found);
}

void tst_confinement::logicLibraries_reachTheDataFolderOnlyThroughItsClass()
{
    const QStringList sources = logicSources();
    QVERIFY(sources.size() > 20);
    QVERIFY(sources.contains(QStringLiteral(TINTORA_SOURCE_DIR "/palettes/PaletteUndo.cpp")));
    QStringList failures;
    for (const QString& path : sources) {
        if (path.endsWith(QLatin1String("/app/DataFolderAccess.cpp")))
            continue;
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        for (const QString& use : dataFolderPathsGivenToQt(QString::fromUtf8(file.readAll())))
            failures.append(path + QStringLiteral(", ") + use);
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(tst_confinement)
#include "tst_confinement.moc"
