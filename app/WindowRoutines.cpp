#include "app/WindowRoutines.h"

#include "app/Platform.h"
#include "palettes/frmInput.h"

#include <QLabel>

void SetTopmost(Platform& platform, QWidget* window)
{
    platform.setTopmost(window, true);
}

void ClearTopmost(Platform& platform, QWidget* window)
{
    platform.setTopmost(window, false);
}

namespace {

struct NameAnswer {
    QString result;
    QString typed;
};

NameAnswer askNameDialog(Platform& platform, QWidget* parent, const QString& title, const QString& prompt)
{
    // A new dialog for every question, so no earlier answer can leak into this one.
    frmInput dialog(platform, parent);
    dialog.setWindowTitle(title);
    dialog.lblMsg->setText(prompt);
    dialog.exec();
    return {dialog.result(), dialog.typedText()};
}

} // namespace

QString AskName(Platform& platform, QWidget* parent, const QString& title, const QString& prompt)
{
    return askNameDialog(platform, parent, title, prompt).result;
}

QString AskNameAsTyped(Platform& platform, QWidget* parent, const QString& title, const QString& prompt)
{
    return askNameDialog(platform, parent, title, prompt).typed;
}
