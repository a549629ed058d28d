#include "app/WindowRoutines.h"

#include "app/platform/Platform.h"
#include "app/frmInput.h"

#include <QEvent>
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

QMargins FrameMargins(const QWidget* window, const QWidget* owner)
{
    const auto around = [](const QWidget* widget) {
        const QRect frame = widget->frameGeometry();
        const QRect inner = widget->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    };
    const QMargins own = around(window);
    // Before a window is first shown its frame is unknown; the owner's is the
    // best guess, since the same desktop draws both.
    if (!own.isNull() || !owner)
        return own;
    return around(owner->window());
}

namespace {

// Moves `window`, and shrinks it no smaller than its layout allows, so that
// its frame lies within `room`.
void keepInside(QWidget* window, const QRect& room, const QMargins& frame)
{
    const QSize inner =
        window->size().boundedTo(room.size().shrunkBy(frame)).expandedTo(window->minimumSizeHint());
    if (inner != window->size())
        window->resize(inner);
    const QSize outer = inner.grownBy(frame);
    const QPoint at = window->frameGeometry().topLeft();
    const QPoint inside(
        std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())),
        std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
    if (inside != at)
        window->move(inside);
}

// Until the desktop has framed a window, its frame is the owner's, and a
// desktop may frame a resizable window more thickly (a grip along the
// bottom). Once the frame is known the window is brought inside the free area
// again; once only, since afterwards the window is the user's to move.
class FrameCheck : public QObject
{
public:
    static constexpr const char* Name = "frameCheck";

    explicit FrameCheck(QWidget* window) : QObject(window)
    {
        setObjectName(QLatin1String(Name));
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Move && event->type() != QEvent::Resize)
            return false;
        auto* window = static_cast<QWidget*>(watched);
        const QMargins frame = FrameMargins(window, nullptr);
        if (!window->isVisible() || frame.isNull() || !window->screen())
            return false;
        window->removeEventFilter(this);
        deleteLater();
        keepInside(window, window->screen()->availableGeometry(), frame);
        return false;
    }
};

} // namespace

void KeepFrameOnScreen(QWidget* window)
{
    // By name: without a meta-object of its own, the check is any QObject to findChild().
    if (!window->findChild<QObject*>(QLatin1String(FrameCheck::Name), Qt::FindDirectChildrenOnly))
        new FrameCheck(window);
}

void FitToScreen(QWidget* window, const QWidget* owner)
{
    const QScreen* screen = owner && owner->screen() ? owner->screen() : window->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QMargins frame = FrameMargins(window, owner);
    // Not adjustSize(): it stops at two thirds of the screen, where a window
    // that scrolls its contents would scroll with room to spare.
    window->resize(window->sizeHint()
                       .boundedTo(room.size().shrunkBy(frame))
                       .expandedTo(window->minimumSizeHint()));
    // A dialog centres itself on its owner with a frame guessed at 40 pixels
    // high, which lifts a window as tall as the screen's free area out of it.
    if (owner) {
        const QSize outer = window->size().grownBy(frame);
        window->move(owner->frameGeometry().center() - QPoint(outer.width(), outer.height()) / 2);
        keepInside(window, room, frame);
    }
    KeepFrameOnScreen(window);
}

void PlaceBeside(QWidget* window, const QWidget* owner)
{
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    QPoint place = owner->frameGeometry().topRight() + QPoint(8, 0);
    if (const QScreen* screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        const QMargins margins = FrameMargins(window, owner);
        const QSize frame(margins.left() + margins.right(), margins.top() + margins.bottom());
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
