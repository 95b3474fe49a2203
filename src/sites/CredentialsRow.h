#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class SiteStore;

// The credentials row above the browser (SbLocation): the current site's user
// name and password and the identifier of the current site and article. Each
// field saves itself when it loses the focus and when Enter is pressed in it.
class CredentialsRow : public QWidget {
    Q_OBJECT
public:
    explicit CredentialsRow(SiteStore& store, QWidget* parent = nullptr);

    // What Ctrl+O pastes.
    QString siteArticleIdText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showCredentials(const QString& userName, const QString& password);
    void EdtUserNameEnter();
    void EdtUserNameExit();
    void EdtPasswordExit();
    void EdtSiteArtIDExit();

    SiteStore& m_store;
    QLabel* LblUser;
    QLineEdit* EdtUserName;
    QLabel* LblIHPassword;
    QLineEdit* EdtPassword;
    QLabel* LblIHSiteArtID;
    QLineEdit* EdtSiteArtID;
    // The first loss of focus after start-up saves nothing, unless the user
    // changed the field: a real edit is never thrown away.
    bool m_skipFirstUserNameExit = true;
    QString m_loadedUserName;
};
