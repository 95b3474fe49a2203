#include "TFrmURLEdit.h"

#include "InterfaceTexts.h"
#include "SiteButtonPicture.h"
#include "SiteStore.h"
#include "TextCodec.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>

namespace {

QLabel* rowLabel(TextId text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(uiText(text), parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* field(const char* name, int width, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(width);
    return edit;
}

QLabel* note(const char* name, QWidget* parent)
{
    auto* label = new QLabel(uiText(TextId::MayBeEmptyNote), parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(QStringLiteral("color: red;"));
    return label;
}

}  // namespace

TFrmURLEdit::TFrmURLEdit(TMyURL& record, QWidget* parent) : QDialog(parent), m_record(record) { FormCreate(); }

void TFrmURLEdit::FormCreate()
{
    setObjectName(QStringLiteral("TFrmURLEdit"));
    setWindowTitle(uiText(TextId::SiteEditorCaption));
    setModal(true);

    LblSiteName = rowLabel(TextId::SiteNameLabel, "LblSiteName", this);
    EdtSiteName = field("EdtSiteName", 280, this);
    LblURL = rowLabel(TextId::SiteUrlLabel, "LblURL", this);
    EditURL = field("EditURL", 280, this);
    LblUserName = rowLabel(TextId::UserNameLabel, "LblUserName", this);
    EdtUserName = field("EdtUserName", 200, this);
    LblUserNameNote = note("LblUserNameNote", this);
    LblPassword = rowLabel(TextId::PasswordLabel, "LblPassword", this);
    EdtPassword = field("EdtPassword", 200, this);
    EdtPassword->setEchoMode(QLineEdit::Password);
    EdtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // shown as "*"
    LblPasswordNote = note("LblPasswordNote", this);

    BtnConfirm = new QToolButton(this);
    BtnConfirm->setObjectName(QStringLiteral("BtnConfirm"));
    BtnConfirm->setAutoRaise(true);
    setSiteButtonPicture(BtnConfirm, QStringLiteral("confirm"), QStyle::SP_DialogOkButton);
    BtnClose = new QToolButton(this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setAutoRaise(true);
    setSiteButtonPicture(BtnClose, QStringLiteral("BtnClose"), QStyle::SP_DialogCloseButton);

    auto* grid = new QGridLayout;
    grid->addWidget(LblSiteName, 0, 0);
    grid->addWidget(EdtSiteName, 0, 1, 1, 2);
    grid->addWidget(LblURL, 1, 0);
    grid->addWidget(EditURL, 1, 1, 1, 2);
    grid->addWidget(LblUserName, 2, 0);
    grid->addWidget(EdtUserName, 2, 1);
    grid->addWidget(LblUserNameNote, 2, 2);
    grid->addWidget(LblPassword, 3, 0);
    grid->addWidget(EdtPassword, 3, 1);
    grid->addWidget(LblPasswordNote, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnConfirm);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Each row's caption names its field for screen readers.
    LblSiteName->setBuddy(EdtSiteName);
    LblURL->setBuddy(EditURL);
    LblUserName->setBuddy(EdtUserName);
    LblPassword->setBuddy(EdtPassword);
    setTabOrder(EdtSiteName, EditURL);
    setTabOrder(EditURL, EdtUserName);
    setTabOrder(EdtUserName, EdtPassword);
    // EdtUserNameKeyDown: Enter in any of the four fields confirms.
    for (QLineEdit* edit : {EdtSiteName, EditURL, EdtUserName, EdtPassword})
        connect(edit, &QLineEdit::returnPressed, this, &TFrmURLEdit::BtnConfirmClick);
    connect(BtnConfirm, &QToolButton::clicked, this, &TFrmURLEdit::BtnConfirmClick);
    connect(BtnClose, &QToolButton::clicked, this, &TFrmURLEdit::BtnCloseClick);
}

void TFrmURLEdit::prepare(bool update, bool keepEntries)
{
    m_record.confirmed = false;
    setWindowTitle(uiText(update ? TextId::SiteEditorUpdateCaption : TextId::SiteEditorAddCaption));
    if (!keepEntries) {
        const TMyURL shown = update ? m_record : TMyURL();
        EdtSiteName->setText(shown.siteName);
        EditURL->setText(shown.url);
        EdtUserName->setText(shown.userName);
        EdtPassword->setText(shown.password);
    }
    EdtSiteName->setFocus();
}

void TFrmURLEdit::refuse(const QString& message, QLineEdit* field)
{
    QMessageBox::information(this, windowTitle(), message);
    field->setFocus();
}

void TFrmURLEdit::BtnConfirmClick()
{
    TMyURL entry;
    entry.siteName = TextCodec::trimmed(EdtSiteName->text());
    if (entry.siteName.isEmpty())
        return refuse(uiText(TextId::SiteNameEmpty), EdtSiteName);
    entry.url = TextCodec::trimmed(EditURL->text());
    if (entry.url.isEmpty())
        return refuse(uiText(TextId::SiteUrlEmpty), EditURL);
    entry.userName = TextCodec::trimmed(EdtUserName->text());
    entry.password = TextCodec::trimmed(EdtPassword->text());
    const QString problem = SiteStore::siteProblem(entry);
    if (!problem.isEmpty())
        return refuse(problem,
                      SiteStore::siteProblem(TMyURL{entry.siteName, {}, {}, {}, false}).isEmpty() ? EditURL
                                                                                                  : EdtSiteName);
    entry.confirmed = true;
    m_record = entry;
    accept();
}

void TFrmURLEdit::BtnCloseClick()
{
    m_record.confirmed = false;
    reject();
}
