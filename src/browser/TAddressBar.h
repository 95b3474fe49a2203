#pragma once

#include <QWidget>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QToolButton;
class TPageControl;
class TWebbrowser;

// Panel2, the address bar above the browser tabs: the label "网址", the address field
// EditCurURL and the buttons. Every command acts on the current tab of its PageControl.
// BtnFullScreen and BtnExit2 ask the main window, through fullScreenRequested and
// exitRequested.
class TAddressBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarHeight = 29;
    static constexpr int LabelPanelWidth = 35;
    static constexpr int ButtonPanelWidth = 277;

    // Puts the program's picture `name` on a button (LoadButtonPicture); the
    // browser layer does not link the pictures, so the window hands it in.
    using ButtonPictureLoader = bool (*)(QAbstractButton* button, const QString& name);

    // Without a loader the buttons keep the desktop style's pictures.
    explicit TAddressBar(TPageControl& pages, QWidget* parent = nullptr, ButtonPictureLoader loadPicture = nullptr);

    // The system's controls, made once in the constructor.
    QWidget* Panel6 = nullptr;  // left, 35 wide: the label
    QLabel* LblURL = nullptr;  // "网址"
    QWidget* PnlURLAddress = nullptr;  // holds the address field
    QLineEdit* EditCurURL = nullptr;
    QWidget* Panel5 = nullptr;  // right, 277 wide: the buttons
    QToolButton* BtnRun = nullptr;
    QToolButton* BtnRefresh = nullptr;
    QToolButton* BtnFullScreen = nullptr;  // 84 x 25
    QToolButton* ToolbtnBack = nullptr;
    QToolButton* ToolBtnForward = nullptr;
    QToolButton* BtnExit2 = nullptr;

public slots:
    // Puts `url` into the address field, whatever it holds (a site was selected, ...).
    void setAddressText(const QString& url);
    // BtnFullScreen's picture and hint follow the window's full-screen state.
    void showFullScreenState(bool fullScreen);
    // The address field fills its panel through the bar's layout; after a
    // resize or a full-screen switch that layout is brought up to date.
    void relayoutAddressField();
    void BtnRunClick();
    void EditCurURLKeyDown();  // Enter in the address field
    void BtnReturnClick();  // back
    void ToolBtnForwardClick();
    void BtnRefreshClick();
    // F6: the address field takes the focus, its text selected, as in a browser.
    void focusAddressField();

signals:
    void fullScreenRequested();  // BtnFullScreen
    void exitRequested();  // BtnExit2

private:
    QToolButton* addButton(QWidget* panel, const QString& objectName);
    void followCurrentBrowser(TWebbrowser* browser);
    void followPageUrl(const QString& url);
    void showHistoryState(bool canGoBack, bool canGoForward);
    void nameFullScreenButton();

    TPageControl& m_pages;
    ButtonPictureLoader m_loadPicture;
};
