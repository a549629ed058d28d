#include "app/help/frmHelp.h"

#include "app/help/HelpBrowser.h"
#include "app/help/HelpContents.h"
#include "app/help/HelpPlacement.h"
#include "app/help/HelpSearch.h"
#include "app/ImageList.h"
#include "app/WindowRoutines.h"
#include "app/platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int PageRole = Qt::UserRole;

// A page's words for the search: its pictures and style sheets are not
// needed, and nothing outside the help file may be read for them.
class TextOnlyDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString plainText(const QByteArray& html)
{
    TextOnlyDocument document;
    document.setHtml(QString::fromUtf8(html));
    return document.toPlainText();
}

QToolButton* findButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(tip);
    return button;
}

// The arrows of every help window are one icon each for the whole run: the
// style keeps the pixmaps it draws an icon with (and their disabled forms)
// in the application's pixmap cache, by icon, and an icon of each window's
// own left a new set there with every help window opened.
QIcon arrowIcon(const QStyle* style, QStyle::StandardPixmap arrow)
{
    const char* property =
        arrow == QStyle::SP_ArrowBack ? "tintoraHelpBackIcon" : "tintoraHelpForwardIcon";
    QIcon icon = qApp->property(property).value<QIcon>();
    if (icon.isNull()) {
        icon = style->standardIcon(arrow);
        qApp->setProperty(property, QVariant::fromValue(icon));
    }
    return icon;
}

} // namespace

frmHelp::frmHelp(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_platform(platform)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tintora Help"));
    setWindowIcon(ImageList::programIcon());

    tlbHelp = new QToolBar(this);
    tlbHelp->setObjectName(QStringLiteral("tlbHelp"));
    tlbHelp->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mnuBack = tlbHelp->addAction(arrowIcon(style(), QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    mnuBack->setObjectName(QStringLiteral("mnuBack"));
    mnuBack->setShortcut(QKeySequence::Back);
    mnuBack->setEnabled(false);
    mnuForward =
        tlbHelp->addAction(arrowIcon(style(), QStyle::SP_ArrowForward), QStringLiteral("&Forward"));
    mnuForward->setObjectName(QStringLiteral("mnuForward"));
    mnuForward->setShortcut(QKeySequence::Forward);
    mnuForward->setEnabled(false);
    tlbHelp->addSeparator();

    auto* findLabel = new QLabel(QStringLiteral("F&ind in page:"), tlbHelp);
    findLabel->setObjectName(QStringLiteral("lblFind"));
    findLabel->setContentsMargins(4, 0, 4, 0);
    txtFind = new QLineEdit(tlbHelp);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setClearButtonEnabled(true);
    txtFind->setMaximumWidth(txtFind->fontMetrics().averageCharWidth() * 28);
    findLabel->setBuddy(txtFind);
    cmdFindPrevious =
        findButton(tlbHelp, "cmdFindPrevious", QStringLiteral("Previous"),
                   QStringLiteral("Find the previous place in the page (Shift+Enter)"));
    cmdFindNext = findButton(tlbHelp, "cmdFindNext", QStringLiteral("Next"),
                             QStringLiteral("Find the next place in the page (Enter)"));
    lblFindStatus = new QLabel(tlbHelp);
    lblFindStatus->setObjectName(QStringLiteral("lblFindStatus"));
    lblFindStatus->setContentsMargins(6, 0, 6, 0);
    tlbHelp->addWidget(findLabel);
    tlbHelp->addWidget(txtFind);
    tlbHelp->addWidget(cmdFindPrevious);
    tlbHelp->addWidget(cmdFindNext);
    tlbHelp->addWidget(lblFindStatus);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splHelp"));
    tabHelp = new QTabWidget(splitter);
    tabHelp->setObjectName(QStringLiteral("tabHelp"));
    tvwContents = new QTreeWidget(tabHelp);
    tvwContents->setObjectName(QStringLiteral("tvwContents"));
    tvwContents->setHeaderHidden(true);
    tvwContents->setColumnCount(1);
    tvwContents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabHelp->addTab(tvwContents, QStringLiteral("&Contents"));

    auto* searchPage = new QWidget(tabHelp);
    searchPage->setObjectName(QStringLiteral("fraSearch"));
    txtSearch = new QLineEdit(searchPage);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->setPlaceholderText(QStringLiteral("Words to find in all topics"));
    lblSearchStatus = new QLabel(searchPage);
    lblSearchStatus->setObjectName(QStringLiteral("lblSearchStatus"));
    lstSearch = new QListWidget(searchPage);
    lstSearch->setObjectName(QStringLiteral("lstSearch"));
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(txtSearch);
    searchLayout->addWidget(lblSearchStatus);
    searchLayout->addWidget(lstSearch, 1);
    tabHelp->addTab(searchPage, QStringLiteral("&Search"));

    brwTopic = new HelpBrowser(m_archive, splitter);
    brwTopic->setObjectName(QStringLiteral("brwTopic"));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes(
        {fontMetrics().averageCharWidth() * 30, fontMetrics().averageCharWidth() * 70});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tlbHelp);
    layout->addWidget(splitter, 1);

    connect(mnuBack, &QAction::triggered, brwTopic, &QTextBrowser::backward);
    connect(mnuForward, &QAction::triggered, brwTopic, &QTextBrowser::forward);
    connect(brwTopic, &QTextBrowser::backwardAvailable, mnuBack, &QAction::setEnabled);
    connect(brwTopic, &QTextBrowser::forwardAvailable, mnuForward, &QAction::setEnabled);
    connect(brwTopic, &QTextBrowser::anchorClicked, this, &frmHelp::followLink);
    connect(brwTopic, &QTextBrowser::sourceChanged, this, &frmHelp::markCurrentTopic);
    connect(tvwContents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && !item->data(0, PageRole).toString().isEmpty())
            showTopic(item->data(0, PageRole).toString());
    });

    connect(txtFind, &QLineEdit::returnPressed, this, [this] {
        findInPage(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    });
    connect(txtFind, &QLineEdit::textChanged, lblFindStatus, &QLabel::clear);
    connect(cmdFindNext, &QToolButton::clicked, this, [this] { findInPage(false); });
    connect(cmdFindPrevious, &QToolButton::clicked, this, [this] { findInPage(true); });
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        txtFind->setFocus(Qt::ShortcutFocusReason);
        txtFind->selectAll();
    });
    // What was found, or not, in one page says nothing about the next.
    connect(brwTopic, &QTextBrowser::sourceChanged, this, [this] {
        lblFindStatus->clear();
        brwTopic->setExtraSelections({});
    });

    connect(txtSearch, &QLineEdit::textChanged, this, &frmHelp::searchTopics);
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] {
        if (lstSearch->count() > 0)
            showSearchResult(lstSearch->item(0));
    });
    connect(lstSearch, &QListWidget::itemActivated, this, &frmHelp::showSearchResult);
    connect(lstSearch, &QListWidget::itemClicked, this, &frmHelp::showSearchResult);
    auto* searchShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), this);
    connect(searchShortcut, &QShortcut::activated, this, [this] {
        tabHelp->setCurrentWidget(txtSearch->parentWidget());
        txtSearch->setFocus(Qt::ShortcutFocusReason);
        txtSearch->selectAll();
    });

    mnuCloseHelp = new QAction(QStringLiteral("Close"), this);
    mnuCloseHelp->setObjectName(QStringLiteral("mnuCloseHelp"));
    mnuCloseHelp->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    mnuCloseHelp->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuCloseHelp);
    connect(mnuCloseHelp, &QAction::triggered, this, &QWidget::close);

    // Room for a page of text beside the main window on a common screen.
    resize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 40);
}

frmHelp::~frmHelp()
{
    // A help window still open when the program ends is closed by no one.
    if (isVisible())
        keepPlace();
}

void frmHelp::closeEvent(QCloseEvent* event)
{
    keepPlace();
    QWidget::closeEvent(event);
}

void frmHelp::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    noteNormalPlace();
}

void frmHelp::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    noteNormalPlace();
}

void frmHelp::noteNormalPlace()
{
    if (isVisible() && !isMaximized() && !isFullScreen() && !isMinimized())
        m_normalPlace = QRect(pos(), size());
}

void frmHelp::keepPlace()
{
    // Maximised or full screen says nothing about where the window belongs;
    // its normal geometry is the inside's, a title bar lower than the frame
    // corner that move() takes.
    QRect place(pos(), size());
    if (isMaximized() || isFullScreen())
        place = m_normalPlace.isValid() ? m_normalPlace : normalGeometry();
    if (place.isValid())
        m_platform.writeSetting(helpplacement::SettingKey(), helpplacement::ToSetting(place));
}

void frmHelp::placeBeside(const QWidget* owner)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    if (const std::optional<QRect> remembered = helpplacement::FromSetting(
            m_platform.readSetting(helpplacement::SettingKey(), QString()))) {
        if (const std::optional<QRect> usable = helpplacement::Usable(*remembered, screens)) {
            move(usable->topLeft());
            resize(usable->size());
            return;
        }
    }
    const QScreen* screen =
        owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect ownerFrame = owner && owner->isVisible() ? owner->frameGeometry() : QRect();
    const QRect available = screen->availableGeometry();
    // The place is the frame's, title bar included; the size set is what lies inside it.
    const QMargins frame = FrameMargins(this, owner);
    const QSize outer = size().grownBy(frame);
    const QRect place =
        ownerFrame.isValid()
            ? helpplacement::BesideOwner(ownerFrame, available, outer)
            : helpplacement::BesideOwner(QRect(available.topLeft(), QSize(1, 1)), available, outer);
    move(place.topLeft());
    resize(place.size().shrunkBy(frame));
    KeepFrameOnScreen(this);
}

FileResult frmHelp::open(const QString& helpFile)
{
    tvwContents->clear();
    m_itemsByPage.clear();
    m_topicTexts.clear();
    brwTopic->clear();
    brwTopic->clearHistory();
    if (FileResult opened = m_archive.open(helpFile); !opened)
        return opened;
    if (!m_archive.title().isEmpty())
        setWindowTitle(m_archive.title());

    QList<HelpTopic> topics;
    if (!m_archive.contentsFile().isEmpty())
        topics =
            helpcontents::Parse(m_archive.read(m_archive.contentsFile()).value_or(QByteArray()));
    {
        const QSignalBlocker quiet(tvwContents);
        fillContents(topics, nullptr);
        tvwContents->expandAll();
    }
    m_topicTexts.clear();
    readTopicTexts(topics);
    searchTopics(txtSearch->text());

    QString first = m_archive.defaultTopic();
    if (first.isEmpty() && !topics.isEmpty())
        first = topics.constFirst().local;
    if (first.isEmpty())
        first = QStringLiteral("/index.html");
    showTopic(first);
    brwTopic->clearHistory();
    return FileResult::success();
}

void frmHelp::fillContents(const QList<HelpTopic>& topics, QTreeWidgetItem* parent)
{
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwContents);
        item->setText(0, topic.name.isEmpty() ? topic.local : topic.name);
        item->setToolTip(0, PlainToolTip(item->text(0)));
        item->setData(0, PageRole, topic.local);
        if (!topic.local.isEmpty() &&
            !m_itemsByPage.contains(HelpBrowser::TopicUrl(topic.local).path()))
            m_itemsByPage.insert(HelpBrowser::TopicUrl(topic.local).path(), item);
        fillContents(topic.children, item);
    }
}

void frmHelp::showTopic(const QString& objectPath)
{
    const QUrl url = HelpBrowser::TopicUrl(objectPath);
    if (url.path() == brwTopic->source().path() && !url.hasFragment())
        return;
    brwTopic->setSource(url, QTextDocument::HtmlResource);
}

void frmHelp::followLink(const QUrl& url)
{
    if (url.scheme() == HelpBrowser::Scheme())
        brwTopic->setSource(url, QTextDocument::HtmlResource);
    else if (m_platform.showMessage(this,
                                    QStringLiteral("This link leads out of the help to:\n\n%1"
                                                   "\n\nOpen it?")
                                        .arg(url.toString()),
                                    Platform::Buttons::YesNo, Platform::Icon::Question,
                                    windowTitle()) == Platform::Answer::Yes)
        m_platform.shellOpen(this, QStringLiteral("open"), url.toString(),
                             Platform::ShowMode::Normal);
}

void frmHelp::markCurrentTopic(const QUrl& page)
{
    // The browser announces the new page before source() returns it.
    QTreeWidgetItem* item = m_itemsByPage.value(page.path());
    if (!item)
        return;
    const QSignalBlocker quiet(tvwContents);
    tvwContents->setCurrentItem(item);
}

bool frmHelp::findInPage(bool backward)
{
    const QString text = txtFind->text();
    if (text.isEmpty()) {
        lblFindStatus->clear();
        return false;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = brwTopic->find(text, flags);
    if (!found) {
        // Round the end of the page and on from its other end.
        QTextCursor restart(brwTopic->document());
        restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        const QTextCursor before = brwTopic->textCursor();
        brwTopic->setTextCursor(restart);
        found = brwTopic->find(text, flags);
        if (!found)
            brwTopic->setTextCursor(before);
    }
    lblFindStatus->setText(found ? QString() : QStringLiteral("Not found"));
    return found;
}

void frmHelp::readTopicTexts(const QList<HelpTopic>& topics)
{
    for (const HelpTopic& topic : topics) {
        const QString page = HelpBrowser::TopicUrl(topic.local).path();
        const bool known =
            std::any_of(m_topicTexts.cbegin(), m_topicTexts.cend(),
                        [&page](const TopicText& seen) { return seen.page == page; });
        if (!topic.local.isEmpty() && !known) {
            if (const std::optional<QByteArray> html = m_archive.read(page))
                m_topicTexts.append(
                    {topic.name.isEmpty() ? page : topic.name, page, plainText(*html)});
        }
        readTopicTexts(topic.children);
    }
}

void frmHelp::searchTopics(const QString& text)
{
    lstSearch->clear();
    QList<QString> texts;
    texts.reserve(m_topicTexts.size());
    for (const TopicText& topic : std::as_const(m_topicTexts))
        texts.append(topic.text);
    QList<helpsearch::Hit> hits = helpsearch::Find(texts, text);
    // The topic that says most about it first; the contents order otherwise.
    std::stable_sort(
        hits.begin(), hits.end(),
        [](const helpsearch::Hit& a, const helpsearch::Hit& b) { return a.count > b.count; });
    for (const helpsearch::Hit& hit : std::as_const(hits)) {
        auto* item = new QListWidgetItem(m_topicTexts.at(hit.page).name, lstSearch);
        item->setData(PageRole, m_topicTexts.at(hit.page).page);
    }
    if (text.trimmed().isEmpty())
        lblSearchStatus->clear();
    else if (hits.isEmpty())
        lblSearchStatus->setText(QStringLiteral("Not found in any topic"));
    else
        lblSearchStatus->setText(hits.size() == 1 ? QStringLiteral("1 topic")
                                                  : QStringLiteral("%1 topics").arg(hits.size()));
}

void frmHelp::showSearchResult(QListWidgetItem* item)
{
    if (!item)
        return;
    showTopic(item->data(PageRole).toString());
    markInPage(txtSearch->text().simplified());
}

void frmHelp::markInPage(const QString& text)
{
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat marked;
    marked.setBackground(QColor(0xff, 0xe0, 0x66));
    marked.setForeground(QColor(0x22, 0x22, 0x22));
    QTextDocument* page = brwTopic->document();
    for (QTextCursor place = page->find(text); !place.isNull(); place = page->find(text, place))
        marks.append({place, marked});
    brwTopic->setExtraSelections(marks);
    if (!marks.isEmpty()) {
        brwTopic->setTextCursor(marks.constFirst().cursor);
        brwTopic->ensureCursorVisible();
    }
    // Enter in "Find in page" goes on to the next place.
    const QSignalBlocker quiet(txtFind);
    txtFind->setText(text);
}
