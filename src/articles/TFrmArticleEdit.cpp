#include "TFrmArticleEdit.h"

#include "ArticleFiles.h"
#include "ArticleFont.h"
#include "ArticleHotkeys.h"
#include "ArticleStore.h"
#include "InterfaceTexts.h"
#include "ParagraphField.h"
#include "TextCodec.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "Pictures.h"

namespace {

constexpr int WheelStep = 30;

QLabel* label(const QString& text, QWidget* parent, int left, int top, int width = -1, int height = 20)
{
    auto* l = new QLabel(text, parent);
    l->move(left, top);
    if (width > 0)
        l->resize(width, height);
    else
        l->adjustSize();
    return l;
}

QWidget* strip(const char* name, int height, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    w->setFixedHeight(height);
    return w;
}

// A button as large as its face, so no face is shrunk to fit it.
QToolButton* faceButton(const char* name, const char* picture, QWidget* parent, int left)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    LoadButtonPicture(button, QLatin1String(picture));
    button->setGeometry(left, 2, qMax(64, button->iconSize().width() + 4), 30);
    return button;
}

}  // namespace

TFrmArticleEdit::TFrmArticleEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrmArticleEdit"));
    FormCreate();
}

QLineEdit* TFrmArticleEdit::confirmingField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    connect(field, &QLineEdit::returnPressed, this, &TFrmArticleEdit::BtnConfirmClick);
    return field;
}

void TFrmArticleEdit::FormCreate()
{
    setWindowTitle(uiText(TextId::ArticleEditorCaption));
    setFont(articleFont());
    resize(985, 736);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(245, 250, 254));
    setPalette(colours);

    QWidget* top = strip("ScrollBox2", 31, this);
    auto* nameLabel = label(uiText(TextId::ArticleNameLabel), top, 4, 6, 160);
    nameLabel->setObjectName(QStringLiteral("LblArticleName"));
    nameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EdtArticleName = confirmingField(top);
    EdtArticleName->setObjectName(QStringLiteral("EdtArticleName"));
    EdtArticleName->setGeometry(171, 4, 329, 24);
    nameLabel->setBuddy(EdtArticleName);

    auto* rows = new QWidget;
    SbArticleContent = new QScrollArea(this);
    SbArticleContent->setObjectName(QStringLiteral("SbArticleContent"));
    SbArticleContent->setFrameShape(QFrame::NoFrame);
    SbArticleContent->setFocusPolicy(Qt::NoFocus);  // Tab goes from field to field
    SbArticleContent->setWidget(rows);
    SbArticleContent->viewport()->installEventFilter(this);
    label(uiText(TextId::ClauseNameHeading), rows, 24, 8)->setObjectName(QStringLiteral("LblShortClauseName"));
    label(uiText(TextId::HotkeyHeading), rows, 154, 8)->setObjectName(QStringLiteral("LblShortcut"));
    label(uiText(TextId::ClauseTextHeading), rows, 255, 8)->setObjectName(QStringLiteral("LblClauseContent"));

    for (int i = 1; i <= ClauseCount; ++i) {
        const int top = 28 * i;
        QLineEdit* name = confirmingField(rows);
        name->setObjectName(QStringLiteral("EdtClauseName%1").arg(i));
        name->setGeometry(10, top, 129, 24);
        QLineEdit* text = confirmingField(rows);
        text->setObjectName(QStringLiteral("EdtClauseText%1").arg(i));
        text->setGeometry(230, top, 250, 24);
        QLabel* hotkey = label(ArticleHotkeys::clauseSuffix(i), rows, 148, top, 120, 24);
        hotkey->setObjectName(QStringLiteral("LblHotkey%1").arg(i));
        hotkey->lower();  // the text field, created before it, overlaps its right part
        // Named as a screen reader finds them: the column's heading and the row's hotkey.
        name->setAccessibleName(uiText(TextId::ClauseNameHeading) + hotkey->text());
        text->setAccessibleName(uiText(TextId::ClauseTextHeading) + hotkey->text());
        m_clauseNames[size_t(i)] = name;
        m_clauseTexts[size_t(i)] = text;
        m_hotkeyLabels[size_t(i)] = hotkey;
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        const int y = 5 + 152 * (j - 1);
        QLabel* title = label(InterfaceTexts::format(TextId::ParagraphTitleFormat, j), rows, 500, y, 80, 20);
        title->setObjectName(QStringLiteral("LblParagraphTitle%1").arg(j));
        // A translation's longer label moves the field to its right.
        title->resize(qMax(80, title->sizeHint().width()), 20);
        QLineEdit* titleField = confirmingField(rows);
        titleField->setObjectName(QStringLiteral("EdtParagraphTitle%1").arg(j));
        titleField->setGeometry(qMax(585, title->geometry().right() + 6), y - 3, 200, 22);
        title->setBuddy(titleField);
        auto* group = new QGroupBox(rows);
        group->setObjectName(QStringLiteral("GbParagraph%1").arg(j));
        group->setTitle(InterfaceTexts::format(TextId::ParagraphTitleFormat, j)
                        + InterfaceTexts::format(TextId::ParagraphHotkeyFormat, ArticleHotkeys::paragraphDigit(j)));
        group->setGeometry(500, y + 22, 440, 120);
        auto* text = new ParagraphField(group);
        text->setObjectName(QStringLiteral("MemParagraph%1").arg(j));
        auto* groupLayout = new QVBoxLayout(group);
        groupLayout->setContentsMargins(2, 2, 2, 2);
        groupLayout->addWidget(text);
        m_paragraphTitleLabels[size_t(j)] = title;
        m_paragraphTitles[size_t(j)] = titleField;
        m_paragraphGroups[size_t(j)] = group;
        m_paragraphTexts[size_t(j)] = text;
    }
    rows->resize(950, 5 + 152 * ParagraphCount);

    QWidget* bottom = strip("ScrollBox3", 34, this);
    BtnConfirm = faceButton("BtnConfirm", "confirm", bottom, 568);
    // A wider face moves the button after it to the right.
    BtnClose = faceButton("BtnClose", "BtnClose", bottom, qMax(640, BtnConfirm->geometry().right() + 5));
    connect(BtnConfirm, &QToolButton::clicked, this, &TFrmArticleEdit::BtnConfirmClick);
    connect(BtnClose, &QToolButton::clicked, this, &TFrmArticleEdit::BtnCloseClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(SbArticleContent, 1);
    layout->addWidget(bottom);
    // The buttons follow the rows; a window taller than the rows leaves its
    // room below the buttons, not as an empty band above them.
    SbArticleContent->setMaximumHeight(rows->height());
    layout->addStretch();
}

bool TFrmArticleEdit::ShowArticleEditor(ArticleBuffer& buffer, Mode mode)
{
    m_buffer = &buffer;
    const bool update = mode == Mode::Update;
    EdtArticleName->setText(update ? buffer.ArticleName : QString());
    for (int i = 1; i <= ClauseCount; ++i) {
        clauseTextField(i)->setText(update ? buffer.ClauseText[size_t(i)] : QString());
        // Names are shown in the interface's language and stored as before.
        clauseNameField(i)->setText(update ? ArticleFiles::shownClauseName(i, buffer.ClauseName[size_t(i)])
                                           : InterfaceTexts::format(TextId::ClauseNameFormat, i));
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        paragraphTextField(j)->setPlainText(update ? buffer.ParagraphText[size_t(j)] : QString());
        paragraphTitleField(j)->setText(update ? ArticleFiles::shownParagraphTitle(j, buffer.ParagraphTitle[size_t(j)])
                                               : InterfaceTexts::format(TextId::ParagraphNameFormat, j));
    }
    buffer.Confirmed = false;
    m_filledTexts = fieldTexts();
    setWindowState(windowState() | Qt::WindowMaximized);
    EdtArticleName->setFocus();
    exec();
    m_buffer = nullptr;
    return buffer.Confirmed;
}

void TFrmArticleEdit::BtnConfirmClick()
{
    if (!m_buffer)
        return;
    ArticleBuffer edited = *m_buffer;
    edited.ArticleName = TextCodec::trimmed(EdtArticleName->text());
    for (int i = 1; i <= ClauseCount; ++i) {
        edited.ClauseText[size_t(i)] = clauseTextField(i)->text();
        edited.ClauseName[size_t(i)] = ArticleFiles::storedClauseName(i, clauseNameField(i)->text());
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        edited.ParagraphText[size_t(j)] = paragraphTextField(j)->toPlainText();
        edited.ParagraphTitle[size_t(j)] = ArticleFiles::storedParagraphTitle(j, paragraphTitleField(j)->text());
    }
    // An empty name, or anything the files cannot hold: say so and stay open.
    const QString problem = ArticleStore::editedArticleProblem(edited, m_buffer->ArticleName);
    if (!problem.isEmpty()) {
        QMessageBox::information(this, QGuiApplication::applicationDisplayName(), problem);
        if (problem == ArticleStore::nameProblem(edited.ArticleName))
            EdtArticleName->setFocus();
        return;
    }
    edited.Confirmed = true;
    *m_buffer = edited;
    accept();
}

void TFrmArticleEdit::BtnCloseClick() { reject(); }

QStringList TFrmArticleEdit::fieldTexts() const
{
    QStringList texts{EdtArticleName->text()};
    for (int i = 1; i <= ClauseCount; ++i)
        texts << clauseTextField(i)->text() << clauseNameField(i)->text();
    for (int j = 1; j <= ParagraphCount; ++j)
        texts << paragraphTextField(j)->toPlainText() << paragraphTitleField(j)->text();
    return texts;
}

void TFrmArticleEdit::reject()
{
    if (m_buffer && fieldTexts() != m_filledTexts
        && QMessageBox::question(this, QGuiApplication::applicationDisplayName(),
                                 tr("文章内容已经修改，放弃这些修改吗？"), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
            != QMessageBox::Yes)
        return;
    if (m_buffer)
        m_buffer->Confirmed = false;
    QDialog::reject();
}

void TFrmArticleEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFrmArticleEdit::FormShow() { SbArticleContent->verticalScrollBar()->setValue(0); }

bool TFrmArticleEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SbArticleContent->viewport() && event->type() == QEvent::Wheel) {
        QScrollBar* bar = SbArticleContent->verticalScrollBar();
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        bar->setValue(bar->value() + (delta < 0 ? WheelStep : delta > 0 ? -WheelStep : 0));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
