#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class PostHistory;
class TFrmPostRound;
class QWidget;

// The posting round: the round window and "next site". It sees the rest of
// the program only through the hooks the main window gives it.
class PostRound : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<QStringList()> siteNames;  // in list order
        std::function<int()> currentSite;  // its position, -1 for none
        std::function<QString()> currentArticle;  // empty for none
        std::function<void(int)> selectSite;  // as a click in the site list
        std::function<void(const QString&)> openInNewTab;
    };

    PostRound(PostHistory& history, Hooks hooks, QWidget* mainWindow);
    ~PostRound() override;

    TFrmPostRound* window();  // made on first use
    bool isWindowShown() const;

public slots:
    void showWindow();
    // Selects the next site without a post of the current article, after the
    // current one, else from the top of the list.
    void nextSite();
    // The article, the site list or the history changed.
    void refresh();
    void currentSiteChanged();

signals:
    // For the hint line.
    void message(const QString& text);
    // The round window was made: others may add their buttons.
    void windowMade(TFrmPostRound* window);

private:
    void mark(int position, bool posted);
    void say(const QString& text);

    PostHistory& m_history;
    Hooks m_hooks;
    QWidget* m_mainWindow;
    QPointer<TFrmPostRound> m_window;
};
