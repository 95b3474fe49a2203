#include "TFrmTeam.h"

#include "TeamProbe.h"
#include "TeamSettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmTeam::TFrmTeam(const QString& dataFolder, QWidget* parent)
    : QDialog(parent),
      m_dataFolder(dataFolder),
      m_conninfo(new QLineEdit(this)),
      m_member(new QLineEdit(this)),
      m_test(new QPushButton(tr("测试连接"), this)),
      m_result(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      m_probe(new TeamProbe(this))
{
    setWindowTitle(tr("团队"));
    const TeamSettings settings = TeamSettings::load(dataFolder);
    m_conninfo->setText(settings.conninfo);
    m_conninfo->setPlaceholderText(QStringLiteral("host=db.example.org dbname=team user=me sslmode=verify-full"));
    m_conninfo->setToolTip(
        tr("PostgreSQL 连接串或 postgresql:// 地址。密码不写在这里，写进 ~/.pgpass。空：只在本机记录"));
    m_member->setText(settings.member);
    m_member->setToolTip(tr("你在团队中的名字，其他成员看到的发布者"));
    m_result->setWordWrap(true);
    m_result->setTextFormat(Qt::PlainText);
    m_result->setText(!settings.problem.isEmpty() ? settings.problem : settings.notice);

    auto* form = new QFormLayout;
    auto* conninfoLabel = new QLabel(tr("服务器（连接串）："), this);
    conninfoLabel->setBuddy(m_conninfo);
    auto* memberLabel = new QLabel(tr("成员名："), this);
    memberLabel->setBuddy(m_member);
    form->addRow(conninfoLabel, m_conninfo);
    form->addRow(memberLabel, m_member);
    form->addRow(QString(), m_test);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_result);
    layout->addWidget(m_buttons);
    resize(560, sizeHint().height());

    connect(m_test, &QPushButton::clicked, this, &TFrmTeam::testConnection);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TFrmTeam::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TFrmTeam::reject);
}

bool TFrmTeam::takePasswordOut()
{
    QString clean;
    bool hadPassword = false;
    const QString problem = TeamSettings::check(m_conninfo->text(), &clean, &hadPassword);
    if (!problem.isEmpty()) {
        showResult(false, problem);
        return false;
    }
    if (hadPassword) {
        m_conninfo->setText(clean);
        showResult(false, tr("连接串中的密码已去掉，不会保存：请把它写进 ~/.pgpass（或 PGPASSFILE 指定的文件）"));
    }
    return true;
}

void TFrmTeam::testConnection()
{
    if (m_conninfo->text().trimmed().isEmpty()) {
        showResult(false, tr("没有填写服务器：只在本机记录"));
        return;
    }
    if (!takePasswordOut())
        return;
    m_test->setEnabled(false);
    m_result->setText(tr("正在连接…"));
    m_probe->run(m_conninfo->text(), [this](bool ok, const QString& message) {
        m_test->setEnabled(true);
        showResult(ok, message);
    });
}

void TFrmTeam::showResult(bool ok, const QString& message)
{
    m_result->setStyleSheet(ok ? QString() : QStringLiteral("color: #c00000"));
    m_result->setText(message);
}

void TFrmTeam::accept()
{
    const QString typed = m_conninfo->text();
    if (!typed.trimmed().isEmpty() && !takePasswordOut())
        return;
    // The user sees the password was taken out before anything is saved.
    if (m_conninfo->text() != typed)
        return;
    QString notice;
    const QString error = TeamSettings::save(m_dataFolder, m_conninfo->text(), m_member->text(), &notice);
    if (!error.isEmpty()) {
        showResult(false, error);
        return;
    }
    QDialog::accept();
}
