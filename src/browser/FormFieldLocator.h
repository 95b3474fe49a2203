#pragma once

#include <QString>

#include <functional>

class QUrl;
class QWebEnginePage;

// Finds a page's text fields again: the locator of the focused field, and the
// field of a locator focused with its content selected. A locator names the
// field in its document (by its id when that is unique, else by its name
// within its form, else by a short path from the nearest element with a
// unique id) and, for a field in a frame, each frame on the way, the same way.
// Fields are text inputs, text areas and editable elements (contenteditable,
// and the body of a document in design mode); frames are followed when they
// are of the page's own origin, as a rich-text editor's is. The scripts run in
// a world of their own: the page's scripts never see them. A locator is JSON
// and holds no text of the page.
class FormFieldLocator {
public:
    // `done` gets the focused field's locator, or an empty string when the
    // focus is not in a field (or the page is gone).
    static void locateFocused(QWebEnginePage* page, std::function<void(const QString& locator)> done);
    // What a field found again takes: an <input type=password>, another
    // single-line input, or any text (a text area, an editor).
    enum class FieldKind {
        Missing,
        Password,
        SingleLine,
        MultiLine
    };
    // Focuses the field and selects its content, so a paste replaces it.
    // Missing when the page has no such field or it takes no focus.
    static void focusAndSelect(QWebEnginePage* page, const QString& locator, std::function<void(FieldKind kind)> done);
    // Where the keyboard focus is: `otherFrame` empty when it is in the page
    // or a frame of the page's origin, else the address the page gave the
    // frame of another origin that has it (the frame may have moved on since:
    // it tells where the frame started, not what it shows). `answered` false
    // when the page did not answer (it went away).
    static void focusedFrame(QWebEnginePage* page, std::function<void(bool answered, const QUrl& otherFrame)> done);
    // A short name of the field for messages: "#title", "subject", a path.
    static QString describe(const QString& locator);
};
