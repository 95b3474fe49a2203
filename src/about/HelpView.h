#pragma once

#include <QWebEngineView>

// The browser of the help pages the program opens from the vendor's site. Its
// profile is off the record and its own: no cookie or storage reaches the disk or
// the user's site logins. Its pages cannot open dialogs (an alert does nothing, a
// confirm or prompt is refused) or windows.
class HelpView : public QWebEngineView {
    Q_OBJECT
public:
    explicit HelpView(QWidget* parent = nullptr);

protected:
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;
};
