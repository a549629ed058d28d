#include "models/notations/FormatsTool.h"

#include "app/platform/Platform.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"
#include "models/notations/FormatTemplate.h"
#include "models/notations/frmFormats.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QWidget>

namespace {

QString MenuText(const QString& text)
{
    QString doubled = text;
    return doubled.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// A template's name and text are the user's, thousands of characters if
// need be: a menu item as wide as that would cover the screen and take
// seconds to lay out. Cut to a width, with the rest left out.
QString Shown(const QFontMetrics& metrics, const QString& text, int width)
{
    // Far more characters than fit the width: a long text is laid out only
    // as far as it can show.
    constexpr qsizetype Start = 400;
    QString start = text.left(Start);
    if (!start.isEmpty() && start.back().isHighSurrogate())
        start.chop(1);
    if (start.size() < text.size())
        start += QChar(0x2026);
    return metrics.elidedText(start, Qt::ElideRight, width);
}

} // namespace

FormatsTool::FormatsTool(Platform& platform, QString dataFolder, const Places& places,
                         std::function<SchemeColors()> scheme, Color current)
    : QObject(places.window), m_platform(platform), m_dataFolder(std::move(dataFolder)),
      m_places(places), m_scheme(std::move(scheme)), m_color(current)
{
    m_choices = FormatChoices::fromSetting(
        m_platform.readSetting(FormatChoices::SettingKey, FormatChoices::Defaults().toSetting()));

    QMenu* edit = m_places.editMenu;
    QAction* separator = edit->addSeparator();
    separator->setObjectName(QStringLiteral("editsep5"));
    mnuPasteColor = edit->addAction(QStringLiteral("Paste Color"));
    mnuPasteColor->setObjectName(QStringLiteral("mnuPasteColor"));
    mnuPasteColor->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    mnuPasteColor->setShortcutContext(Qt::WindowShortcut);
    connect(mnuPasteColor, &QAction::triggered, this, &FormatsTool::mnuPasteColor_Click);

    mnuMoreFormats = new QMenu(QStringLiteral("More Formats"), edit);
    mnuMoreFormats->setObjectName(QStringLiteral("mnuMoreFormats"));
    mnuMoreFormats->menuAction()->setObjectName(QStringLiteral("mnuMoreFormats"));
    edit->addMenu(mnuMoreFormats);
    mnuMoreFormats2 = new QMenu(QStringLiteral("More Formats"), edit);
    mnuMoreFormats2->setObjectName(QStringLiteral("mnuMoreFormats2"));
    mnuMoreFormats2->menuAction()->setObjectName(QStringLiteral("mnuMoreFormats2"));
    edit->addMenu(mnuMoreFormats2);
    // The Edit menu doubles as the swatch's pop-up: each submenu shows in
    // one of the two, following the swatch-only items.
    const auto followSwatchItems = [this] {
        const bool popup = m_places.swatchOnlyItem->isVisible();
        mnuMoreFormats->menuAction()->setVisible(!popup);
        mnuMoreFormats2->menuAction()->setVisible(popup);
    };
    connect(m_places.swatchOnlyItem, &QAction::visibleChanged, this, followSwatchItems);
    followSwatchItems();
    for (QMenu* menu : {mnuMoreFormats, mnuMoreFormats2})
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { refreshCaptions(menu); });
    rebuildMenus();

    mnuFormats = m_places.toolMenu->addAction(QStringLiteral("Color &Formats"));
    mnuFormats->setObjectName(QStringLiteral("mnuFormats"));
    connect(mnuFormats, &QAction::triggered, this, &FormatsTool::mnuFormats_Click);

    m_places.swatch->setAcceptDrops(true);
    m_places.swatch->installEventFilter(this);

    m_pasteShortcut = new QShortcut(QKeySequence::Paste, m_places.window);
    m_pasteShortcut->setObjectName(QStringLiteral("pasteOnControls"));
    m_pasteShortcut->setContext(Qt::WindowShortcut);
    m_pasteShortcut->setEnabled(false);
    connect(m_pasteShortcut, &QShortcut::activated, this, &FormatsTool::mnuPasteColor_Click);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        m_pasteShortcut->setEnabled(m_pasteTargets.contains(now));
    });
}

void FormatsTool::pasteOn(QWidget* control)
{
    m_pasteTargets.insert(control);
    connect(control, &QObject::destroyed, this,
            [this, control] { m_pasteTargets.remove(control); });
    if (control->hasFocus())
        m_pasteShortcut->setEnabled(true);
}

void FormatsTool::setCurrentColor(Color color)
{
    m_color = color;
    if (m_window)
        m_window->setCurrentColor(color);
}

void FormatsTool::schemeChanged()
{
    if (m_window)
        m_window->setScheme(m_scheme());
}

bool FormatsTool::takeText(const QString& text, const QString& title)
{
    const colorparser::ParseResult result = colorparser::Parse(text);
    if (!result.ok) {
        const QString message = text.trimmed().isEmpty()
                                    ? QStringLiteral("There is no text to read a color from.")
                                    : result.message;
        m_platform.showMessage(m_places.window, message, Platform::Buttons::Ok,
                               Platform::Icon::Warning, title);
        return false;
    }
    emit colorChosen(result.color);
    // Said after the colour is shown, so the user sees what it became.
    if (!result.message.isEmpty())
        m_platform.showMessage(m_places.window,
                               QStringLiteral("Read as %1. ").arg(result.readAs) + result.message,
                               Platform::Buttons::Ok, Platform::Icon::Information, title);
    return true;
}

void FormatsTool::mnuPasteColor_Click()
{
    const QString text = m_platform.clipboardText();
    if (text.isEmpty()) {
        m_platform.showMessage(m_places.window, QStringLiteral("The clipboard holds no text."),
                               Platform::Buttons::Ok, Platform::Icon::Warning,
                               QStringLiteral("Paste Color"));
        return;
    }
    takeText(text, QStringLiteral("Paste Color"));
}

bool FormatsTool::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_places.swatch) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasText()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasText()) {
                drop->acceptProposedAction();
                takeText(drop->mimeData()->text(), QStringLiteral("Drop Color"));
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void FormatsTool::mnuFormats_Click()
{
    if (!m_window) {
        m_window = new frmFormats(m_platform, m_dataFolder, m_places.window);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setCurrentColor(m_color);
        m_window->setScheme(m_scheme());
        connect(m_window, &frmFormats::choicesChanged, this, [this](const FormatChoices& choices) {
            m_choices = choices;
            rebuildMenus();
        });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void FormatsTool::rebuildMenus()
{
    fillMenu(mnuMoreFormats);
    fillMenu(mnuMoreFormats2);
}

void FormatsTool::fillMenu(QMenu* menu)
{
    qDeleteAll(menu->actions());
    menu->clear();
    for (const notations::Notation notation : m_choices.shownNotations) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QStringLiteral("fmt") + notations::ShortName(notation));
        action->setData(int(notation));
        connect(action, &QAction::triggered, this,
                [this, notation] { copyText(notations::Format(notation, m_color)); });
    }
    int index = 0;
    for (const UserTemplate& entry : m_choices.templates) {
        const int position = index++;
        const formattemplate::Compiled compiled = formattemplate::Compile(entry.text);
        if (!entry.shown || !compiled.ok)
            continue;
        QAction* action = menu->addAction(QString());
        action->setObjectName(QStringLiteral("fmtTemplate_%1").arg(position));
        action->setData(-1 - position);
        const formattemplate::Template compiledTemplate = compiled.result;
        connect(action, &QAction::triggered, this,
                [this, compiledTemplate] { copyText(compiledTemplate.expand(m_color)); });
    }
    menu->menuAction()->setEnabled(!menu->actions().isEmpty());
    refreshCaptions(menu);
}

void FormatsTool::refreshCaptions(QMenu* menu)
{
    // Wide enough for every notation's name and text.
    constexpr int NameWidth = 240;
    constexpr int TextWidth = 560;
    for (QAction* action : menu->actions()) {
        const int data = action->data().toInt();
        QString label;
        QString text;
        if (data >= 0) {
            const auto notation = notations::Notation(data);
            label = notations::Label(notation);
            text = notations::Format(notation, m_color);
        } else {
            const UserTemplate& entry = m_choices.templates.at(-1 - data);
            label = entry.name;
            text = formattemplate::Compile(entry.text).result.expand(m_color);
        }
        const QFontMetrics metrics(menu->font());
        action->setText(MenuText(Shown(metrics, label, NameWidth)) + QLatin1Char('\t') +
                        MenuText(Shown(metrics, text, TextWidth)));
    }
}

void FormatsTool::copyText(const QString& text)
{
    m_platform.clearClipboard();
    m_platform.setClipboardText(text);
}

frmFormats* FormatsTool::formatsWindow() const
{
    return m_window;
}
