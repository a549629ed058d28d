#include "app/help/frmHelp.h"

#include "app/help/HelpBrowser.h"
#include "app/help/HelpContents.h"
#include "app/ImageList.h"
#include "app/platform/Platform.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int PageRole = Qt::UserRole;

QToolButton* findButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(tip);
    return button;
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
    mnuBack =
        tlbHelp->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    mnuBack->setObjectName(QStringLiteral("mnuBack"));
    mnuBack->setShortcut(QKeySequence::Back);
    mnuBack->setEnabled(false);
    mnuForward = tlbHelp->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                    QStringLiteral("&Forward"));
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
    tvwContents = new QTreeWidget(splitter);
    tvwContents->setObjectName(QStringLiteral("tvwContents"));
    tvwContents->setHeaderHidden(true);
    tvwContents->setColumnCount(1);
    tvwContents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    brwTopic = new HelpBrowser(m_archive, splitter);
    brwTopic->setObjectName(QStringLiteral("brwTopic"));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes(
        {fontMetrics().averageCharWidth() * 40, fontMetrics().averageCharWidth() * 90});

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

    resize(fontMetrics().averageCharWidth() * 130, fontMetrics().height() * 40);
}

frmHelp::~frmHelp() = default;

FileResult frmHelp::open(const QString& helpFile)
{
    tvwContents->clear();
    m_itemsByPage.clear();
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
        item->setToolTip(0, item->text(0));
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
