#pragma once

#include <QGroupBox>

class QAction;
class QCheckBox;
class QKeyEvent;
class QListView;
class QMenu;
class QToolButton;
class SiteStore;

// The site list panel (GbSiteList): the list of sites with its buttons,
// context menu and keys, and the check box that shows the credentials row.
// The list is a view over the site store's models; what the user asks for
// goes out as signals, which the SiteController handles.
class SiteListPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SiteListPanel(SiteStore& store, QWidget* parent = nullptr);

    bool isCredentialsRowShown() const;  // CbEditURL is ticked

public slots:
    // Ticks or unticks CbEditURL; a change is told by credentialsRowToggled.
    void setCredentialsRowShown(bool shown);
    void focusList();

signals:
    // The user made an item current (click, keyboard move, Enter); with Ctrl
    // or Shift held the user is extending the selection, which must stay.
    void siteClicked(bool extendingSelection);
    void addRequested();
    void updateRequested();
    void deleteRequested();
    void moveRequested(int step);
    void credentialsRowToggled(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtonBar();
    void buildList();
    void buildEditPanel();
    void LtSubmitUrlClick();
    void LtSubmitUrlDblClick();
    bool LtSubmitUrlKeyDown(QKeyEvent* key);  // true when the key was handled

    SiteStore& m_store;
    QWidget* Panel3;
    QToolButton* BtnAddURL;
    QToolButton* BtnUpdateURL;
    QToolButton* BtnDeleteURL;
    QListView* LtSubmitUrl;
    QMenu* PopupMenu1;
    QWidget* PnSiteEdit;
    QToolButton* BtnAddUrlBtn;
    QToolButton* BtnUpdateASite;
    QToolButton* BtnDeleteASite;
    QCheckBox* CbEditURL;
    // The modifiers of the last key or mouse press in the list: with Ctrl or
    // Shift the user is extending the selection, which must not be reset.
    Qt::KeyboardModifiers m_inputModifiers;
    int m_currentBeforePress = -1;
};
