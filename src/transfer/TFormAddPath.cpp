#include "TFormAddPath.h"

#include "ButtonFaces.h"
#include "DialogTexts.h"
#include "FixFolderPath.h"
#include "TextCodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFormAddPath::TFormAddPath(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(dialogText(DialogTextId::NewFolderCaption));
    resize(303, 146);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Label1 = new QLabel(dialogText(DialogTextId::NewFolderLabel), this);
    EdtName = new QLineEdit(this);
    BtnConfirm = new QPushButton(this);
    BtnClose = new QPushButton(this);
    ButtonFaces::load(BtnConfirm, QStringLiteral("confirm"));
    ButtonFaces::load(BtnClose, QStringLiteral("cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnConfirm);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(EdtName);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(EdtName, &QLineEdit::returnPressed, this, &TFormAddPath::BtnConfirmClick);
    connect(BtnConfirm, &QPushButton::clicked, this, &TFormAddPath::BtnConfirmClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFormAddPath::BtnCloseClick);
}

void TFormAddPath::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // A close box or Esc ends the dialog unconfirmed, whatever an earlier use said.
    m_confirmed = false;
    m_path.clear();
    // The user types the new name after the current path. Queued: the dialog
    // gives its first field a focus-in that selects all after this event.
    EdtName->setFocus(Qt::OtherFocusReason);
    QMetaObject::invokeMethod(
        this,
        [this] {
            EdtName->deselect();
            EdtName->setCursorPosition(int(EdtName->text().size()));
        },
        Qt::QueuedConnection);
}

void TFormAddPath::BtnConfirmClick()
{
    const QString entry = TextCodec::trimmed(EdtName->text());
    if (entry.isEmpty()) {
        m_confirmed = false;
        QMessageBox::information(this, windowTitle(), dialogText(DialogTextId::EnterAFolder));
        EdtName->setFocus();
        return;
    }
    m_path = fixedFolderPath(entry);
    m_confirmed = true;
    accept();
}

void TFormAddPath::BtnCloseClick()
{
    m_confirmed = false;
    reject();
}
