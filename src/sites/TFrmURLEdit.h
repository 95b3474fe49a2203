#pragma once

#include "TMyURL.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

// The site editor: name, URL, user name and password of one site. It works on
// the current site record: update mode shows the record, add mode starts
// empty, and only a confirmed entry is written back into the record (with
// its confirmed flag set), so a refused or abandoned entry changes nothing.
class TFrmURLEdit : public QDialog {
    Q_OBJECT
public:
    explicit TFrmURLEdit(TMyURL& record, QWidget* parent = nullptr);

    // Title and fields for the mode; keepEntries leaves the fields as the user
    // left them (shown again after a save that failed). Clears the confirmed flag.
    void prepare(bool update, bool keepEntries = false);

    QLabel* LblSiteName;
    QLineEdit* EdtSiteName;
    QLabel* LblURL;
    QLineEdit* EditURL;
    QLabel* LblUserName;
    QLineEdit* EdtUserName;
    QLabel* LblUserNameNote;
    QLabel* LblPassword;
    QLineEdit* EdtPassword;
    QLabel* LblPasswordNote;
    QToolButton* BtnConfirm;
    QToolButton* BtnClose;

public slots:
    void BtnConfirmClick();
    void BtnCloseClick();

private:
    void FormCreate();
    void refuse(const QString& message, QLineEdit* field);

    TMyURL& m_record;
};
