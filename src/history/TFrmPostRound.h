#pragma once

#include "PostHistory.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class RoundModel;

// "发布进度": every site of the list with its state for the current article.
// A window that only shows: what the user asks for goes out as signals.
class TFrmPostRound : public QWidget {
    Q_OBJECT
public:
    explicit TFrmPostRound(QWidget* parent = nullptr);

    RoundModel* model() const { return m_model; }
    QTableView* table() const { return m_table; }

    // `claims`: sites a teammate is working on (site name -> the member).
    void showRound(const QString& article, const QStringList& sites, const QHash<QString, PostEntry>& posts,
                   const QHash<QString, QString>& claims = {});
    // Marks the current site's row and scrolls to it.
    void showCurrentSite(int position);
    void showMessage(const QString& text);
    // The continuous round's state, as the check box shows it.
    void showContinuous(bool on);
    // The team's server: who the user is there and whether it is reached; empty without a team.
    void showTeamState(const QString& text);

signals:
    void siteChosen(int position);
    void nextSiteRequested();
    void markRequested(int position, bool posted);
    void addressOpened(const QString& address);
    void forgetFormRequested();
    void forgetCredentialPairsRequested();
    void continuousToggled(bool on);
    void teamRequested();

private:
    int selectedPosition() const;
    void updateButtons();
    void updateCount();

    RoundModel* m_model;
    QLabel* m_article;
    QLabel* m_count;
    QButtonGroup* m_filters;
    QTableView* m_table;
    QPushButton* m_next;
    QPushButton* m_mark;
    QPushButton* m_unmark;
    QPushButton* m_forgetForm;
    QPushButton* m_forgetCredentialPairs;
    QCheckBox* m_continuous;
    QPushButton* m_team;
    QLabel* m_teamState;
    QLabel* m_message;
    int m_currentPosition = -1;
    bool m_hasArticle = false;
};
