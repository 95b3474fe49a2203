#pragma once

#include <QPlainTextEdit>

// A paragraph's multi-line field, in the content panel and in the editor. It
// takes no tab characters: Tab and Shift+Tab (with Ctrl too) move the focus
// on and back, so the keyboard never gets stuck in it and no tab is typed
// into an article. Tabs a stored paragraph already holds stay as they are.
class ParagraphField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ParagraphField(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
