#include "app/WindowRoutines.h"

#include "app/platform/Platform.h"
#include "app/frmInput.h"

#include <QLabel>
#include <QScreen>
#include <QTextDocument>

#include <algorithm>

void SetTopmost(Platform& platform, QWidget* window)
{
    platform.setTopmost(window, true);
}

void ClearTopmost(Platform& platform, QWidget* window)
{
    platform.setTopmost(window, false);
}

void PlaceBeside(QWidget* window, const QWidget* owner)
{
    window->adjustSize();
    QPoint place = owner->frameGeometry().topRight() + QPoint(8, 0);
    if (const QScreen* screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        // The window's own frame is not known before it is shown; the
        // owner's is the best guess, since the same desktop draws both.
        const QSize frame = owner->frameGeometry().size() - owner->size();
        // A window wider or taller than the room fits it; the layout's
        // minimum still wins over the screen.
        const QSize fits(std::min(window->width(), room.width() - frame.width()),
                         std::min(window->height(), room.height() - frame.height()));
        if (fits != window->size())
            window->resize(fits.expandedTo(window->minimumSizeHint()));
        const QSize outer = window->size() + frame;
        place.setX(std::clamp(place.x(), room.left(),
                              std::max(room.left(), room.left() + room.width() - outer.width())));
        place.setY(std::clamp(place.y(), room.top(),
                              std::max(room.top(), room.top() + room.height() - outer.height())));
    }
    window->move(place);
}

namespace {

struct NameAnswer
{
    QString result;
    QString typed;
};

NameAnswer askNameDialog(Platform& platform, QWidget* parent, const QString& title,
                         const QString& prompt)
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

QString AskNameAsTyped(Platform& platform, QWidget* parent, const QString& title,
                       const QString& prompt)
{
    return askNameDialog(platform, parent, title, prompt).typed;
}

QString PlainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    // Spaces kept as they are and no wrapping, as a plain tooltip shows them.
    return Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
}
