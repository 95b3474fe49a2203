#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TeamProbe;

// "团队…": the team's server and the user's name in the team, kept in
// team.ini in the data folder. "测试连接" tries the connection without
// holding up the window. A password typed into the connection string is
// taken out and not saved: the dialog says so and where it belongs instead.
// After OK the caller starts its TeamRound again.
class TFrmTeam : public QDialog {
    Q_OBJECT
public:
    explicit TFrmTeam(const QString& dataFolder, QWidget* parent = nullptr);

    void accept() override;

private:
    void testConnection();
    void showResult(bool ok, const QString& message);
    // Takes a password out of the field; false when the string is unreadable.
    bool takePasswordOut();

    QString m_dataFolder;
    QLineEdit* m_conninfo;
    QLineEdit* m_member;
    QPushButton* m_test;
    QLabel* m_result;
    QDialogButtonBox* m_buttons;
    TeamProbe* m_probe;
};
