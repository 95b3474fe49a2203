#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The new-folder dialog of the folder chooser: the user types the new folder's
// path, usually the current path followed by a new name.
class TFormAddPath : public QDialog {
    Q_OBJECT
public:
    explicit TFormAddPath(QWidget* parent = nullptr);

    // Only a dialog confirmed in its latest showing counts: every show clears it.
    bool confirmed() const { return m_confirmed; }
    // The confirmed entry, passed through FixFolderPath.
    QString path() const { return m_path; }

    // Controls, public so the chooser and the tests can reach them by name.
    QLabel* Label1 = nullptr;
    QLineEdit* EdtName = nullptr;
    QPushButton* BtnConfirm = nullptr;
    QPushButton* BtnClose = nullptr;

public slots:
    void BtnConfirmClick();
    void BtnCloseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_confirmed = false;
    QString m_path;
};
