// The main window's palette grid and the contrast tool as they are drawn under
// a dark and a light theme and at fractional scale factors: measured on the
// rendered pixels, not on the colours the code asks for.
#include "app/frmshowcolor.h"
#include "palettes/PaletteGridLines.h"
#include "models/science/Contrast.h"
#include "scheme/SchemeRole.h"
#include "scheme/frmContrast.h"
#include "tests/scheme/SchemeWindowTest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <memory>

namespace {

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::ToolTipBase, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::ToolTipText, QColor(0xEE, 0xEE, 0xEE));
    return dark;
}

Color colourAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return bascommon::MakeColor(c.red(), c.green(), c.blue());
}

double contrast(const QColor& first, const QColor& second)
{
    return wcag::ContrastRatio(bascommon::MakeColor(first.red(), first.green(), first.blue()),
                               bascommon::MakeColor(second.red(), second.green(), second.blue()));
}

// The widget drawn as a screen of that scale factor draws it, on `under`
// where it leaves its background to its parent.
QImage render(QWidget* widget, qreal scale, const QColor& under = Qt::magenta)
{
    QImage image((QSizeF(widget->size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(under);
    widget->render(&image);
    return image;
}

// Lengths of the runs of pixels of exactly `colour` along a row or a column.
QList<int> runs(const QImage& image, bool alongRow, int at, int from, int to, Color colour)
{
    QList<int> found;
    int length = 0;
    for (int i = from; i <= to; ++i) {
        const Color seen = alongRow ? colourAt(image, i, at) : colourAt(image, at, i);
        if (seen == colour) {
            ++length;
        } else if (length > 0) {
            found.append(length);
            length = 0;
        }
    }
    if (length > 0)
        found.append(length);
    return found;
}

} // namespace

class tst_themesandscales : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void gridLines_standOutAndShareOneWidth_data();
    void gridLines_standOutAndShareOneWidth();
    void contrastTool_failuresReadableOnTheWindow_data();
    void contrastTool_failuresReadableOnTheWindow();

private:
    void useTheme(bool dark);
    std::unique_ptr<SchemeWindowTest> m_test;
};

void tst_themesandscales::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void tst_themesandscales::cleanup()
{
    if (m_test)
        QVERIFY2(m_test->platform.unexpected.isEmpty(),
                 qPrintable(m_test->platform.unexpected.join(QLatin1Char('\n'))));
    m_test.reset();
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void tst_themesandscales::useTheme(bool dark)
{
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
}

void tst_themesandscales::gridLines_standOutAndShareOneWidth_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<qreal>("scale");
    for (const bool dark : {true, false})
        for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0})
            QTest::addRow("%s, %.2f", dark ? "dark" : "light", scale) << dark << scale;
}

void tst_themesandscales::gridLines_standOutAndShareOneWidth()
{
    QFETCH(bool, dark);
    QFETCH(qreal, scale);
    useTheme(dark);
    m_test = std::make_unique<SchemeWindowTest>();
    frmshowcolor& w = m_test->openFour();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* lines = w.findChild<PaletteGridLines*>();
    QVERIFY(lines);
    // The shipped "My Colors" fills the first column; the rest of the page is
    // empty, white cells.
    QVERIFY(lines->isCellEmpty(12 * 6 + 6));
    QWidget* central = w.centralWidget();
    const QImage image = render(central, scale);
    const QRect grid = lines->geometry();
    const auto device = [scale](qreal logical) { return int(std::floor(logical * scale)); };
    const int expectedWidth = qMax(1, int(std::floor(scale + 1e-6)));
    const Color line = bascommon::Black;

    // A row through the middle of the seventh row of cells, all of them empty
    // but the first column's: the seventeen lines between the columns.
    const QRect emptyCell = lines->cellRect(12 * 6 + 6).translated(grid.topLeft());
    const int rowY = device(emptyCell.top() + 4.5);
    const QList<int> across =
        runs(image, true, rowY, device(grid.left() + 21), device(grid.right() - 2), line);
    QCOMPARE(across.size(), 16);
    for (int width : across)
        QCOMPARE(width, expectedWidth);
    // A column through the middle of an empty column: the eleven lines
    // between the rows.
    const int columnX = device(emptyCell.left() + 4.5);
    const QList<int> down =
        runs(image, false, columnX, device(grid.top() + 2), device(grid.bottom() - 2), line);
    QCOMPARE(down.size(), 11);
    for (int width : down)
        QCOMPARE(width, expectedWidth);

    // The lines against the white of an empty cell, the edge against the
    // window, the mark of an empty cell against its white.
    const QColor white(Qt::white);
    const QColor inside =
        image.pixelColor(device(emptyCell.left() + 4.5), device(emptyCell.top() + 2.5));
    QCOMPARE(inside, white);
    QVERIFY(contrast(image.pixelColor(device(emptyCell.left() + 0.5), rowY), inside) >= 3.0);
    const QColor window = image.pixelColor(device(grid.left() - 3), rowY);
    QCOMPARE(window, w.palette().color(QPalette::Window));
    const QColor edge = image.pixelColor(device(grid.left() + 0.5), rowY);
    QVERIFY2(contrast(edge, window) >= 3.0,
             qPrintable(edge.name() + QLatin1Char(' ') + window.name()));
    double strongestMark = 1.0;
    const QRect deviceCell(device(emptyCell.left() + 1), device(emptyCell.top() + 1),
                           device(emptyCell.width() - 2), device(emptyCell.height() - 2));
    for (int y = deviceCell.top(); y <= deviceCell.bottom(); ++y)
        for (int x = deviceCell.left(); x <= deviceCell.right(); ++x)
            strongestMark = qMax(strongestMark, contrast(image.pixelColor(x, y), white));
    QVERIFY2(strongestMark >= 3.0, qPrintable(QString::number(strongestMark)));
}

void tst_themesandscales::contrastTool_failuresReadableOnTheWindow_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("dark") << true;
    QTest::newRow("light") << false;
}

void tst_themesandscales::contrastTool_failuresReadableOnTheWindow()
{
    QFETCH(bool, dark);
    useTheme(dark);
    m_test = std::make_unique<SchemeWindowTest>();
    frmshowcolor& w = m_test->openFour();
    // Grey text on white fails every check.
    w.applySchemeRoleColor(SchemeRole::Text, bascommon::MakeColor(0xCC, 0xCC, 0xCC));
    w.mnuViewContrast->trigger();
    frmContrast* tool = w.contrastWindow();
    QVERIFY(tool);
    tool->show();
    QVERIFY(QTest::qWaitForWindowExposed(tool));
    auto* name = tool->findChild<QLabel*>(QStringLiteral("lblBgPair_0"));
    auto* ratio = tool->findChild<QLabel*>(QStringLiteral("lblBgRatio_0"));
    QVERIFY(name && ratio);
    for (QLabel* label : {name, ratio}) {
        QVERIFY(label->font().bold());
        const QColor back = tool->palette().color(QPalette::Window);
        const QImage image = render(label, 1.0, back);
        double strongest = 1.0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                strongest = qMax(strongest, contrast(image.pixelColor(x, y), back));
        QVERIFY2(strongest >= 3.0,
                 qPrintable(label->objectName() + QLatin1Char(' ') + QString::number(strongest)));
        // The failing colour is still a red.
        const QColor text = label->palette().color(QPalette::WindowText);
        QVERIFY(text.red() > text.green() && text.red() > text.blue());
    }
    tool->close();
}

QTEST_MAIN(tst_themesandscales)
#include "tst_themesandscales.moc"
