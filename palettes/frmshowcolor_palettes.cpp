// The main window's palette view and palette commands.
#include "app/frmshowcolor.h"

#include "app/ClickableLabel.h"

void frmshowcolor::setUpPaletteHandlers()
{
    for (int i = 0; i < CellCount; ++i) {
        connect(lblcor[static_cast<std::size_t>(i)], &ClickableLabel::mouseReleased, this,
                [this, i](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos) {
                    lblcor_MouseUp(i, button, pos);
                });
    }
}

void frmshowcolor::ShowChartMenu() {}
void frmshowcolor::ShowColorChart(const QString&, qint32) {}
void frmshowcolor::RepairFile() {}
void frmshowcolor::DeleteChart(qint32) {}
void frmshowcolor::ShowAddTo() {}
void frmshowcolor::cmbChart_Click(int) {}

void frmshowcolor::lblcor_MouseUp(int index, Qt::MouseButton, const QPoint&)
{
    CellColor = lblcor[static_cast<std::size_t>(index)]->backColor();
    CurrentColorChanged(CellColor);
}
