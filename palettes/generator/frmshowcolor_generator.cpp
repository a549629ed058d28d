// The main window's side of the colour generator: its Tool menu command and
// the two ways the window hands colours back.
#include "app/frmshowcolor.h"

#include "palettes/generator/frmGenerator.h"

#include <QAction>
#include <QMenu>

void frmshowcolor::setUpGeneratorHandlers()
{
    mnuGenerator = mnuTool->addAction(QStringLiteral("Color &Generator"));
    mnuGenerator->setObjectName(QStringLiteral("mnuGenerator"));
    connect(mnuGenerator, &QAction::triggered, this, &frmshowcolor::mnuGenerator_Click);
}

void frmshowcolor::mnuGenerator_Click()
{
    if (!m_generatorWindow) {
        m_generatorWindow = new frmGenerator(m_platform, m_currentColor, m_scheme.background, this);
        m_generatorWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_generatorWindow, &frmGenerator::colorChosen, this,
                &frmshowcolor::CurrentColorChanged);
        connect(m_generatorWindow, &frmGenerator::paletteRequested, this,
                &frmshowcolor::addUserPalette);
        connect(this, &frmshowcolor::schemeColorsChanged, m_generatorWindow,
                [this] { m_generatorWindow->setPageBackground(m_scheme.background); });
    } else {
        // Opened again: it starts over from the colour that is current now.
        m_generatorWindow->setBaseColor(m_currentColor);
    }
    m_generatorWindow->show();
    m_generatorWindow->raise();
    m_generatorWindow->activateWindow();
}

frmGenerator* frmshowcolor::generatorWindow() const
{
    return m_generatorWindow;
}
