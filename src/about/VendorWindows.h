#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class TFrmHelp;
class TFrmVersion;

// The about and help windows of the main window: each created on first use,
// owned by the main window and kept for the rest of the run; later uses show the
// same window again.
class VendorWindows : public QObject {
    Q_OBJECT
public:
    explicit VendorWindows(QWidget* owner);
    ~VendorWindows() override;

    // MnAboutClick: creates the about window if needed and shows it (not modal).
    TFrmVersion* showAbout();
    // MnHelpClick: creates the help window if needed and shows it maximised.
    TFrmHelp* showHelp();

    TFrmVersion* aboutWindow() const;  // null until first shown
    TFrmHelp* helpWindow() const;

    // The address the help window loads; the online help address unless changed.
    void setHelpAddress(const QString& address);

private:
    QWidget* m_owner;
    QPointer<TFrmVersion> m_about;
    QPointer<TFrmHelp> m_help;
    QString m_helpAddress;
};
