#pragma once

#include "PostHistory.h"

#include <QWidget>

class QButtonGroup;
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

    void showRound(const QString& article, const QStringList& sites, const QHash<QString, PostEntry>& posts);
    // Marks the current site's row and scrolls to it.
    void showCurrentSite(int position);
    void showMessage(const QString& text);
    // Room for more buttons in the button row (the form memory's).
    void addButton(QPushButton* button);

signals:
    void siteChosen(int position);
    void nextSiteRequested();
    void markRequested(int position, bool posted);
    void addressOpened(const QString& address);

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
    QLabel* m_message;
    class QHBoxLayout* m_buttons;
    int m_currentPosition = -1;
    bool m_hasArticle = false;
};
