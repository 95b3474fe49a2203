#pragma once

#include <QGroupBox>

class QAction;
class QCheckBox;
class QKeyEvent;
class QListView;
class QMenu;
class QToolButton;
class SiteStore;
class TFrmURLEdit;

// The site list panel (GbSiteList): the list of sites with its buttons,
// context menu and keys, the check box that shows the credentials row, and
// the site editor it opens. All storage goes through the site store.
class SiteListPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SiteListPanel(SiteStore& store, QWidget* parent = nullptr);

    // The row CbEditURL shows and hides (SbLocation).
    void setCredentialsRow(QWidget* row);
    // Created on first use, then kept; null before.
    TFrmURLEdit* siteEditor() const { return m_editor; }
    // Shows the editor modally; true when it was confirmed.
    bool ShowSiteEditor(bool update, bool keepEntries = false);

    QWidget* Panel3;
    QToolButton* BtnAddURL;
    QToolButton* BtnUpdateURL;
    QToolButton* BtnDeleteURL;
    QListView* LtSubmitUrl;
    QMenu* PopupMenu1;
    QAction* MnUp;
    QAction* UpDown;
    QAction* MnAddWebsite;
    QAction* MnUpdateWebsite;
    QAction* MnDeleteWebsite;
    QWidget* PnSiteEdit;
    QToolButton* BtnAddUrlBtn;
    QToolButton* BtnUpdateASite;
    QToolButton* BtnDeleteASite;
    QCheckBox* CbEditURL;

public slots:
    void LtSubmitUrlClick();
    void LtSubmitUrlDblClick();
    bool LtSubmitUrlKeyDown(QKeyEvent* key);  // true when the key was handled
    void BtnAddURLClick();
    void BtnUpdateURLClick();
    void BtnDeleteURLClick();
    void MnUpClick();
    void UpDownClick();
    void CbEditURLClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtonBar();
    void buildList();
    void buildEditPanel();
    void editAndStore(bool update);

    SiteStore& m_store;
    TFrmURLEdit* m_editor = nullptr;
    QWidget* m_credentialsRow = nullptr;
    // The modifiers of the last key or mouse press in the list: with Ctrl or
    // Shift the user is extending the selection, which must not be reset.
    Qt::KeyboardModifiers m_inputModifiers;
    int m_currentBeforePress = -1;
};
