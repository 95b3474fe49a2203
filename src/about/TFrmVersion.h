#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The about window: the about picture with the version number and a link line
// over it, framed like the main window, always on top. Created once by its owner
// and hidden, not destroyed, when closed.
class TFrmVersion : public QWidget {
    Q_OBJECT
public:
    explicit TFrmVersion(QWidget* owner = nullptr);

    static constexpr int DesignWidth = 388;
    static constexpr int DesignHeight = 281;

    // Controls, named as in the window's layout.
    QLabel* ImgAbout = nullptr;  // about picture "helpdoc"; a click opens the home page
    QPushButton* BtnClose = nullptr;  // 57 x 26 at (252, 205)
    QLabel* LblVersion = nullptr;  // "2.3" at (181, 59)
    QLabel* Label5 = nullptr;  // line of underscores at (126, 131), a link to the home page

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void BtnCloseClick();
    void buildFrame();
};
