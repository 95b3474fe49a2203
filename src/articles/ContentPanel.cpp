#include "ContentPanel.h"

#include "ArticleFiles.h"
#include "ArticleFont.h"
#include "ArticleHotkeys.h"
#include "ArticleStore.h"
#include "InterfaceTexts.h"
#include "ParagraphField.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int ClauseFieldLeft = 133;
constexpr int CaptionRightEdge = 130;
constexpr int CaptionMinWidth = 126;
constexpr int RowHeight = 24;
constexpr int RowStep = 27;
constexpr int ParagraphBoxHeight = 120;
constexpr int WheelStep = 30;

int clauseTop(int i) { return RowStep * (i - 1) + 5; }
int paragraphTop(int j) { return 10 + ParagraphBoxHeight * (j - 1); }

QScrollArea* scrollBox(const char* name, QWidget* parent, QWidget* inner)
{
    auto* box = new QScrollArea(parent);
    box->setObjectName(QLatin1String(name));
    box->setFrameShape(QFrame::NoFrame);
    box->setWidgetResizable(false);
    // Only a frame for its fields: Tab goes from field to field, not to it.
    box->setFocusPolicy(Qt::NoFocus);
    box->setWidget(inner);
    return box;
}

}  // namespace

ContentPanel::ContentPanel(ArticleStore& store, QWidget* parent) : QGroupBox(parent), m_store(store)
{
    setObjectName(QStringLiteral("GbArticleCont"));
    setTitle(uiText(TextId::ArticleContentCaption));
    setFont(articleFont());

    m_clauseArea = new QWidget;
    m_paragraphArea = new QWidget;
    SbArticleContent = scrollBox("SbArticleContent", this, m_clauseArea);
    SbArticleBigCont = scrollBox("SbArticleBigCont", this, m_paragraphArea);
    SbArticleBigCont->setFixedHeight(339);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(SbArticleContent, 1);
    layout->addWidget(SbArticleBigCont);

    createRows();
    relayoutFields();
    FillPanelFromBuffer();
    connect(&m_store, &ArticleStore::currentArticleChanged, this, &ContentPanel::FillPanelFromBuffer);
}

void ContentPanel::createRows()
{
    QWidget* previous = nullptr;
    for (int i = 1; i <= ClauseCount; ++i) {
        auto* field = new QLineEdit(m_clauseArea);
        field->setObjectName(QStringLiteral("EdtClause%1").arg(i));
        field->setGeometry(ClauseFieldLeft, clauseTop(i), 200, RowHeight);
        field->setProperty("tag", i);
        field->installEventFilter(this);
        auto* caption = new QLabel(m_clauseArea);
        caption->setObjectName(QStringLiteral("LblClause%1").arg(i));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(CaptionRightEdge - CaptionMinWidth, clauseTop(i), CaptionMinWidth, RowHeight);
        caption->setBuddy(field);
        m_clauseFields[size_t(i)] = field;
        m_clauseCaptions[size_t(i)] = caption;
        if (previous)
            setTabOrder(previous, field);
        previous = field;
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        auto* box = new QGroupBox(m_paragraphArea);
        box->setObjectName(QStringLiteral("GbParagraph%1").arg(j));
        box->setGeometry(10, paragraphTop(j), 320, ParagraphBoxHeight);
        auto* field = new ParagraphField(box);
        field->setObjectName(QStringLiteral("MemParagraph%1").arg(j));
        field->setProperty("tag", j);
        field->installEventFilter(this);
        field->viewport()->installEventFilter(this);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(2, 2, 2, 2);
        boxLayout->addWidget(field);
        m_paragraphBoxes[size_t(j)] = box;
        m_paragraphFields[size_t(j)] = field;
        setTabOrder(previous, field);
        previous = field;
    }
    m_paragraphArea->resize(340, paragraphTop(ParagraphCount + 1) + 10);
    SbArticleContent->viewport()->installEventFilter(this);
    SbArticleBigCont->viewport()->installEventFilter(this);
}

void ContentPanel::setClauseCaption(int i, const QString& text)
{
    QLabel* caption = clauseCaption(i);
    caption->setText(text);
    // Right-justified at x = 130; a long caption grows to the left.
    const int width = qMax(CaptionMinWidth, caption->fontMetrics().horizontalAdvance(text) + 2);
    caption->setGeometry(CaptionRightEdge - width, clauseTop(i), width, RowHeight);
}

QString ContentPanel::clauseFieldText(int i) const
{
    return i >= 1 && i <= ClauseCount ? clauseField(i)->text() : QString();
}

QString ContentPanel::paragraphFieldText(int j) const
{
    if (j < 1 || j > ParagraphCount)
        return {};
    return paragraphField(j)->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

ArticlePanelTexts ContentPanel::panelTexts() const
{
    ArticlePanelTexts texts;
    for (int i = 1; i <= ClauseCount; ++i) {
        texts.clause[size_t(i)] = clauseField(i)->text();
        texts.clauseChanged[size_t(i)] = clauseField(i)->isModified();
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        texts.paragraph[size_t(j)] = paragraphField(j)->toPlainText();
        texts.paragraphChanged[size_t(j)] = paragraphField(j)->document()->isModified();
    }
    return texts;
}

void ContentPanel::FillPanelFromBuffer()
{
    const ArticleBuffer& buffer = m_store.buffer();
    // With no article shown the fields are empty and read-only: text typed
    // there would belong to no article.
    const bool shown = m_store.shownIndex() >= 0;
    for (int i = 1; i <= ClauseCount; ++i) {
        clauseField(i)->setText(buffer.ClauseText[size_t(i)]);
        clauseField(i)->setReadOnly(!shown);
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        paragraphField(j)->setPlainText(buffer.ParagraphText[size_t(j)]);
        paragraphField(j)->setReadOnly(!shown);
        paragraphField(j)->document()->setModified(false);
    }
    showCaptions(shown);
}

// The clause names and paragraph titles of the buffer with their hotkeys;
// nothing when no article is shown.
void ContentPanel::showCaptions(bool shown)
{
    const ArticleBuffer& buffer = m_store.buffer();
    for (int i = 1; i <= ClauseCount; ++i)
        setClauseCaption(i,
                         shown ? ArticleFiles::shownClauseName(i, buffer.ClauseName[size_t(i)])
                                 + ArticleHotkeys::clauseSuffix(i)
                               : QString());
    for (int j = 1; j <= ParagraphCount; ++j)
        paragraphBox(j)->setTitle(shown ? ArticleHotkeys::paragraphCaption(
                                      ArticleFiles::shownParagraphTitle(j, buffer.ParagraphTitle[size_t(j)]), j)
                                        : QString());
    nameBlankFields(shown);
}

// A screen reader names each field by its caption. With no article shown the
// captions are blank: the fields then go by their default names and hotkeys.
void ContentPanel::nameBlankFields(bool shown)
{
    for (int i = 1; i <= ClauseCount; ++i)
        clauseField(i)->setAccessibleName(
            shown ? QString() : InterfaceTexts::format(TextId::ClauseNameFormat, i) + ArticleHotkeys::clauseSuffix(i));
    for (int j = 1; j <= ParagraphCount; ++j)
        paragraphField(j)->setAccessibleName(
            shown ? QString()
                  : ArticleHotkeys::paragraphCaption(InterfaceTexts::format(TextId::ParagraphNameFormat, j), j));
}

void ContentPanel::showStoredChanges(const ArticleStore::StoredChanges& changes)
{
    if (m_store.shownIndex() < 0)
        return;
    const ArticleBuffer& buffer = m_store.buffer();
    // A field the user is changing keeps the user's text; the save writes it.
    for (int i = 1; i <= ClauseCount; ++i)
        if (changes.clause[size_t(i)] && !clauseField(i)->isModified())
            clauseField(i)->setText(buffer.ClauseText[size_t(i)]);
    for (int j = 1; j <= ParagraphCount; ++j) {
        QPlainTextEdit* field = paragraphField(j);
        if (changes.paragraph[size_t(j)] && !field->document()->isModified()) {
            field->setPlainText(buffer.ParagraphText[size_t(j)]);
            field->document()->setModified(false);
        }
    }
    if (changes.captions)
        showCaptions(true);
}

bool ContentPanel::saveClause(int i)
{
    QLineEdit* field = clauseField(i);
    if (!field->isModified())
        return true;
    if (!m_store.SaveClauseField(i, field->text()))
        return false;
    field->setModified(false);
    return true;
}

bool ContentPanel::saveParagraph(int j)
{
    QPlainTextEdit* field = paragraphField(j);
    if (!field->document()->isModified())
        return true;
    if (!m_store.SaveParagraphField(j, field->toPlainText()))
        return false;
    field->document()->setModified(false);
    return true;
}

bool ContentPanel::commitPendingEdits()
{
    bool ok = true;
    for (int i = 1; i <= ClauseCount; ++i)
        ok = saveClause(i) && ok;
    for (int j = 1; j <= ParagraphCount; ++j)
        ok = saveParagraph(j) && ok;
    return ok;
}

void ContentPanel::markSaved()
{
    for (int i = 1; i <= ClauseCount; ++i)
        clauseField(i)->setModified(false);
    for (int j = 1; j <= ParagraphCount; ++j)
        paragraphField(j)->document()->setModified(false);
}

void ContentPanel::relayoutFields()
{
    const int areaWidth = SbArticleContent->width();
    const int fieldWidth = qMax(0, areaWidth - 150);
    for (int i = 1; i <= ClauseCount; ++i)
        clauseField(i)->resize(fieldWidth, RowHeight);
    m_clauseArea->resize(ClauseFieldLeft + fieldWidth, clauseTop(ClauseCount) + RowHeight + 5);
    const int boxWidth = qMax(0, areaWidth - 28);
    for (int j = 1; j <= ParagraphCount; ++j)
        paragraphBox(j)->resize(boxWidth, ParagraphBoxHeight);
    m_paragraphArea->resize(10 + boxWidth, m_paragraphArea->height());
}

void ContentPanel::SbArticleContentMouseWheelDown()
{
    QScrollBar* bar = SbArticleContent->verticalScrollBar();
    bar->setValue(bar->value() + WheelStep);
}

void ContentPanel::SbArticleContentMouseWheelUp()
{
    QScrollBar* bar = SbArticleContent->verticalScrollBar();
    bar->setValue(bar->value() - WheelStep);
}

bool ContentPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const int tag = watched->property("tag").toInt();
        if (qobject_cast<QLineEdit*>(watched))
            saveClause(tag);
        else if (qobject_cast<QPlainTextEdit*>(watched))
            saveParagraph(tag);
    } else if (event->type() == QEvent::Wheel) {
        // A paragraph field with the focus scrolls itself; every other wheel
        // turn over the panel scrolls the clause area.
        const auto* viewport = qobject_cast<QWidget*>(watched);
        const auto* owner = viewport ? qobject_cast<QPlainTextEdit*>(viewport->parentWidget()) : nullptr;
        if (owner && owner->hasFocus())
            return false;
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta < 0)
            SbArticleContentMouseWheelDown();
        else if (delta > 0)
            SbArticleContentMouseWheelUp();
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}
