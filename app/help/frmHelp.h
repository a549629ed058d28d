#pragma once

#include "app/help/ChmArchive.h"
#include "app/FileResult.h"

#include <QHash>
#include <QWidget>

class HelpBrowser;
class Platform;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
struct HelpTopic;

// The program's own viewer for its compiled help, for desktops that have none:
// the table of contents beside the page, links and pictures, back and forward,
// a search in the page shown and one across all topics. Escape and Ctrl+W
// close it; it keeps its place and size in the settings.
class frmHelp : public QWidget
{
    Q_OBJECT
public:
    explicit frmHelp(Platform& platform, QWidget* parent = nullptr);
    ~frmHelp() override;

    // Reads the help file and shows its first topic. On failure the window
    // shows nothing and the result names the file.
    FileResult open(const QString& helpFile);
    QString helpFile() const { return m_archive.path(); }

    // Shows a page of the help file ("/palettes.html", possibly with a fragment).
    void showTopic(const QString& objectPath);
    // Selects the next (or previous) place of the search text in the page,
    // going round at its end; false when the page does not hold it.
    bool findInPage(bool backward = false);
    // Lists the topics that hold `text` in lstSearch, best first.
    void searchTopics(const QString& text);
    // Shows the topic of a search result with every place of the search
    // text marked, the first one selected.
    void showSearchResult(QListWidgetItem* item);

    // Where the window opens: where it was last left when that place still
    // suits today's screens, otherwise beside `owner`.
    void placeBeside(const QWidget* owner);

    QToolBar* tlbHelp;
    QAction* mnuBack;
    QAction* mnuForward;
    QLineEdit* txtFind;
    QToolButton* cmdFindPrevious;
    QToolButton* cmdFindNext;
    QLabel* lblFindStatus;
    QTabWidget* tabHelp;
    QTreeWidget* tvwContents;
    QLineEdit* txtSearch;
    QListWidget* lstSearch;
    QLabel* lblSearchStatus;
    HelpBrowser* brwTopic;
    QAction* mnuCloseHelp;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void noteNormalPlace();
    void keepPlace();
    void readTopicTexts(const QList<HelpTopic>& topics);
    void markInPage(const QString& text);
    void fillContents(const QList<HelpTopic>& topics, QTreeWidgetItem* parent);
    void followLink(const QUrl& url);
    void markCurrentTopic(const QUrl& page);

    Platform& m_platform;
    ChmArchive m_archive;
    // Contents entries by the page they show, to follow the page in the tree.
    QHash<QString, QTreeWidgetItem*> m_itemsByPage;
    // Each page of the contents once, with its plain text, for the search.
    struct TopicText
    {
        QString name;
        QString page;
        QString text;
    };
    QList<TopicText> m_topicTexts;
    // Where the frame's corner last was and the inside's size, while the
    // window was neither maximised nor full screen: what move() and resize()
    // take to put it back.
    QRect m_normalPlace;
};
