#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class TPageControl;
class TWebbrowser;

// Panel2, the address bar above the browser tabs: the label "网址", the address field
// EditCurURL and the buttons. Every command acts on the current tab of its PageControl.
// BtnFullScreen and BtnExit2 only live here; the main window wires them.
class TAddressBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarHeight = 29;
    static constexpr int LabelPanelWidth = 35;
    static constexpr int ButtonPanelWidth = 277;

    explicit TAddressBar(TPageControl& pages, QWidget* parent = nullptr);

    // The system's controls, made once in the constructor.
    QWidget* Panel6 = nullptr;         // left, 35 wide: the label
    QLabel* LblURL = nullptr;          // "网址"
    QWidget* PnlURLAddress = nullptr;  // holds the address field
    QLineEdit* EditCurURL = nullptr;
    QWidget* Panel5 = nullptr;         // right, 277 wide: the buttons
    QToolButton* BtnRun = nullptr;
    QToolButton* BtnRefresh = nullptr;
    QToolButton* BtnFullScreen = nullptr;  // 84 x 25
    QToolButton* ToolbtnBack = nullptr;
    QToolButton* ToolBtnForward = nullptr;
    QToolButton* BtnExit2 = nullptr;

    // Puts `url` into the address field, whatever it holds (a site was selected, ...).
    void setAddressText(const QString& url);

public slots:
    void BtnRunClick();
    void EditCurURLKeyDown();  // Enter in the address field
    void BtnReturnClick();     // back
    void ToolBtnForwardClick();
    void BtnRefreshClick();

private:
    QToolButton* addButton(QWidget* panel, const QString& objectName);
    void followCurrentBrowser(TWebbrowser* browser);
    void followPageUrl(const QString& url);
    void showHistoryState(bool canGoBack, bool canGoForward);

    TPageControl& m_pages;
};
