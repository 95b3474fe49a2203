#pragma once

#include "ArticleBuffer.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QToolButton;

// The article editor: name, 15 clause rows (name, hotkey, text) and 3
// paragraph blocks (title, text). It exchanges values with the main window
// only through the article buffer, which it writes on a valid confirm.
class TFrmArticleEdit : public QDialog {
    Q_OBJECT
public:
    enum class Mode {
        Add,
        Update
    };

    explicit TFrmArticleEdit(QWidget* parent = nullptr);

    // Fills the dialog (add mode: defaults; update mode: the buffer), shows
    // it modally and returns buffer.Confirmed.
    bool ShowArticleEditor(ArticleBuffer& buffer, Mode mode);

    QLineEdit* EdtArticleName = nullptr;
    QScrollArea* SbArticleContent = nullptr;
    QToolButton* BtnConfirm = nullptr;
    QToolButton* BtnClose = nullptr;

    QLineEdit* clauseNameField(int i) const { return m_clauseNames.at(size_t(i)); }
    QLineEdit* clauseTextField(int i) const { return m_clauseTexts.at(size_t(i)); }
    QLabel* hotkeyLabel(int i) const { return m_hotkeyLabels.at(size_t(i)); }
    QLineEdit* paragraphTitleField(int j) const { return m_paragraphTitles.at(size_t(j)); }
    QGroupBox* paragraphGroup(int j) const { return m_paragraphGroups.at(size_t(j)); }
    QPlainTextEdit* paragraphTextField(int j) const { return m_paragraphTexts.at(size_t(j)); }

    void BtnConfirmClick();
    void BtnCloseClick();

public slots:
    // Esc, the close button and the window's own close: what the user typed
    // is not thrown away without a question.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    QLineEdit* confirmingField(QWidget* parent);
    QStringList fieldTexts() const;

    ArticleBuffer* m_buffer = nullptr;
    QStringList m_filledTexts;  // as the dialog was filled
    // The run-time rows, in the order they are kept.
    std::array<QLabel*, ClauseCount + 1> m_hotkeyLabels{};
    std::array<QLineEdit*, ClauseCount + 1> m_clauseTexts{};
    std::array<QLineEdit*, ClauseCount + 1> m_clauseNames{};
    std::array<QGroupBox*, ParagraphCount + 1> m_paragraphGroups{};
    std::array<QPlainTextEdit*, ParagraphCount + 1> m_paragraphTexts{};
    std::array<QLabel*, ParagraphCount + 1> m_paragraphTitleLabels{};
    std::array<QLineEdit*, ParagraphCount + 1> m_paragraphTitles{};
};
