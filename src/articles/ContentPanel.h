#pragma once

#include "ArticleBuffer.h"
#include "ArticleStore.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;

// GbArticleCont: the current article ready for pasting. SbArticleContent
// holds the 15 clause rows (caption ending at a common right edge, field),
// SbArticleBigCont the 3 paragraph boxes. A field is saved when the user
// leaves it; the hotkeys paste the fields' live texts.
class ContentPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ContentPanel(ArticleStore& store, QWidget* parent = nullptr);

    // What the hotkeys paste: clause i (1..15), paragraph j (1..3) with CR LF breaks.
    QString clauseFieldText(int i) const;
    QString paragraphFieldText(int j) const;
    ArticlePanelTexts panelTexts() const;

    // Shows the article buffer (names, titles, texts); saves nothing.
    void FillPanelFromBuffer();
    // Saves every field changed since it was filled or saved; false when a
    // write failed (the field keeps its text and is tried again later).
    bool commitPendingEdits();
    // After a whole-article save: the fields hold what is stored.
    void markSaved();
    // The store read the shown article again: fields the user has not
    // changed show the stored texts.
    void showStoredChanges(const ArticleStore::StoredChanges& changes);
    // The main window's relayout: clause fields = clause area width - 150,
    // paragraph boxes = clause area width - 28.
    void relayoutFields();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* clauseField(int i) const { return m_clauseFields.at(size_t(i)); }
    QLabel* clauseCaption(int i) const { return m_clauseCaptions.at(size_t(i)); }
    QGroupBox* paragraphBox(int j) const { return m_paragraphBoxes.at(size_t(j)); }
    QPlainTextEdit* paragraphField(int j) const { return m_paragraphFields.at(size_t(j)); }
    void createRows();
    void setClauseCaption(int i, const QString& text);
    void showCaptions(bool shown);
    void nameBlankFields(bool shown);
    bool saveClause(int i);
    bool saveParagraph(int j);
    void SbArticleContentMouseWheelDown();
    void SbArticleContentMouseWheelUp();

    ArticleStore& m_store;
    QScrollArea* SbArticleContent = nullptr;
    QScrollArea* SbArticleBigCont = nullptr;
    QWidget* m_clauseArea = nullptr;
    QWidget* m_paragraphArea = nullptr;
    std::array<QLineEdit*, ClauseCount + 1> m_clauseFields{};
    std::array<QLabel*, ClauseCount + 1> m_clauseCaptions{};
    std::array<QGroupBox*, ParagraphCount + 1> m_paragraphBoxes{};
    std::array<QPlainTextEdit*, ParagraphCount + 1> m_paragraphFields{};
};
