#include "CredentialsRow.h"

#include "InterfaceTexts.h"
#include "SiteStore.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

constexpr int FieldHeight = 23;
// The fields' widths where the row is wide enough for them.
constexpr int UserNameWidth = 206;
constexpr int PasswordWidth = 238;
constexpr int SiteArticleIdWidth = 497;
constexpr int FirstLine = 4;
constexpr int SecondLine = 30;

// A caption at (x, y) for a field designed to start at fieldX. Returns where
// the field starts: there, or just after the caption where a translation's
// caption is longer than the design's room.
int label(QLabel*& lbl, TextId text, const char* name, int x, int y, int fieldX, QWidget* parent)
{
    lbl = new QLabel(uiText(text), parent);
    lbl->setObjectName(QLatin1String(name));
    fieldX = qMax(fieldX, x + lbl->sizeHint().width() + 4);
    lbl->setGeometry(x, y, fieldX - x - 2, FieldHeight);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return fieldX;
}

QLineEdit* field(const char* name, const QString& hint, int x, int y, int width, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(x, y, width, FieldHeight);
    edit->setToolTip(hint);
    return edit;
}

bool isEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

CredentialsRow::CredentialsRow(SiteStore& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("SbLocation"));
    setFixedHeight(57);

    // Design-time hints of the fields.
    int x = label(LblUser, TextId::UserNameLabel, "LblUser", 7, FirstLine, 118, this);
    EdtUserName = field("EdtUserName", tr("对应于选择网址的用户名"), x, FirstLine, UserNameWidth, this);
    x = label(LblIHPassword, TextId::PasswordLabel, "LblIHPassword", qMax(327, x + UserNameWidth + 3), FirstLine, 459,
              this);
    EdtPassword = field("EdtPassword", tr("对应于选择网址的秘密"), x, FirstLine, PasswordWidth, this);
    EdtPassword->setEchoMode(QLineEdit::Password);
    EdtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // shown as "*"
    x = label(LblIHSiteArtID, TextId::SiteArticleIdLabel, "LblIHSiteArtID", 3, SecondLine, 200, this);
    EdtSiteArtID = field("EdtSiteArtID", tr("按下回车键（Enter）可自动保存"), x, SecondLine, SiteArticleIdWidth, this);
    // Each caption names its field for screen readers; the hint describes it.
    LblUser->setBuddy(EdtUserName);
    LblIHPassword->setBuddy(EdtPassword);
    LblIHSiteArtID->setBuddy(EdtSiteArtID);

    for (QLineEdit* edit : {EdtUserName, EdtPassword, EdtSiteArtID})
        edit->installEventFilter(this);

    connect(&m_store, &SiteStore::credentialsChanged, this, &CredentialsRow::showCredentials);
    connect(&m_store, &SiteStore::siteArticleIdLoaded, EdtSiteArtID, &QLineEdit::setText);
}

// A narrow row (a small window with the content panel shown, a large display
// scale) ends the fields at its edge instead of cutting them off.
void CredentialsRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const auto fit = [this](QLineEdit* edit, int designWidth) {
        edit->resize(qBound(24, width() - edit->x() - 2, designWidth), FieldHeight);
    };
    fit(EdtUserName, UserNameWidth);
    fit(EdtPassword, PasswordWidth);
    fit(EdtSiteArtID, SiteArticleIdWidth);
}

QString CredentialsRow::siteArticleIdText() const { return EdtSiteArtID->text(); }

void CredentialsRow::showCredentials(const QString& userName, const QString& password)
{
    m_loadedUserName = userName;
    EdtUserName->setText(userName);
    EdtPassword->setText(password);
}

void CredentialsRow::EdtUserNameEnter()
{
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, EdtUserName, &QLineEdit::selectAll);
}

void CredentialsRow::EdtUserNameExit()
{
    if (m_skipFirstUserNameExit) {
        m_skipFirstUserNameExit = false;
        if (EdtUserName->text() == m_loadedUserName)
            return;
    }
    m_store.SaveUserName(EdtUserName->text());
}

void CredentialsRow::EdtPasswordExit() { m_store.SavePassword(EdtPassword->text()); }

void CredentialsRow::EdtSiteArtIDExit() { m_store.SaveSiteArticleId(EdtSiteArtID->text()); }

bool CredentialsRow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == EdtUserName)
            EdtUserNameEnter();
        break;  // gaining the focus writes nothing
    case QEvent::FocusOut:
        if (watched == EdtUserName)
            EdtUserNameExit();
        else if (watched == EdtPassword)
            EdtPasswordExit();
        else if (watched == EdtSiteArtID)
            EdtSiteArtIDExit();
        break;
    case QEvent::KeyPress:
        if (!isEnter(static_cast<QKeyEvent*>(event)))
            break;
        // EdtUserNameKeyDown, EdtPasswordKeyDown and the Enter key of EdtSiteArtID.
        if (watched == EdtUserName)
            m_store.SaveUserName(EdtUserName->text());
        else if (watched == EdtPassword)
            m_store.SavePassword(EdtPassword->text());
        else if (watched == EdtSiteArtID)
            m_store.SaveSiteArticleId(EdtSiteArtID->text());
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}
