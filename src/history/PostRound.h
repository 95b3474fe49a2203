#pragma once

#include "PostHistory.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <functional>

class RoundModel;
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
        // A round shared with a team (unset without one): the team's latest
        // post of each site, the sites teammates are working on (site ->
        // member), and "next site" asked of the team's server: false when
        // there is no team, else `done(position, note)` follows later
        // (position -1: no site is free; the note says what the user should know).
        std::function<QHash<QString, PostEntry>(const QString& article)> teamPosts;
        std::function<QHash<QString, QString>(const QString& article)> teamClaims;
        std::function<bool(const QString& article, const QStringList& sites, int current,
                           const QSet<QString>& postedHere, std::function<void(int, const QString&)> done)>
            claimNext;
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
    // The same, but `open` takes the site instead of selecting it in the
    // list (the continuous round opens it in a tab of its own). Says why when
    // there is none (false); roundComplete() when every site has the article.
    bool goToNextSite(const std::function<void(int)>& open);
    // The site goToNextSite() would take once the current one has a post:
    // never the current one; -1 for none.
    int peekNextSite() const;
    // The round window and the hint line show the continuous round's state.
    void showContinuous(bool on);
    // Also in the round window, when it is made.
    void showMessage(const QString& text);
    void showTeamState(const QString& text);
    // The latest post of each site: this computer's and the team's.
    QHash<QString, PostEntry> postsOf(const QString& article) const;
    // The article, the site list or the history changed.
    void refresh();
    void currentSiteChanged();

signals:
    // For the hint line.
    void message(const QString& text);
    // Every site of the list has a post of `article`.
    void roundComplete(const QString& article);
    // The round window's buttons of the form memory and the credentials.
    void forgetFormRequested();
    void forgetCredentialPairsRequested();
    // The user turned the continuous round on or off in the round window.
    void continuousToggled(bool on);
    // "团队…" in the round window.
    void teamRequested();

private:
    void mark(int position, bool posted);
    // `posts` (this computer's) with the team's merged in.
    QHash<QString, PostEntry> withTeamPosts(const QString& article, QHash<QString, PostEntry> posts) const;
    // Every site has a post of `article`: says so and tells roundComplete().
    bool sayIfComplete(const QString& article, const RoundModel& round, int current);
    // After the round's choice of the next site: selects it and says where the round stands.
    void moveTo(int next, int current, const QString& article, const std::function<void(int)>& open,
                const QString& note);
    void say(const QString& text);

    PostHistory& m_history;
    Hooks m_hooks;
    QWidget* m_mainWindow;
    QPointer<TFrmPostRound> m_window;
    bool m_continuous = false;
    QString m_teamState;
};
