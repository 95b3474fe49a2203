#pragma once

#include <QString>
#include <QWidget>

class HelpView;
class QPushButton;

// The help window: a browser showing the online help page (a HelpView, off the
// record) above a strip with the close button, framed like the main window. Every time it is shown it loads the
// online help address again, falling back to the shipped help page when that
// address cannot be reached. Created once by its owner; closing hides it.
class TFrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFrmHelp(QWidget* owner = nullptr);

    // The address each show loads; the program's online help address unless changed.
    void setHelpAddress(const QString& address) { m_helpAddress = address; }
    QString helpAddress() const { return m_helpAddress; }

    HelpView* WebBrowser1 = nullptr;  // off the record, see HelpView
    QPushButton* BtnClose = nullptr;  // 57 x 26 in the 41-high strip at the foot

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BtnCloseClick();

    QString m_helpAddress;
};
