#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QUrl;
class QWebEnginePage;
class QWebEngineProfile;

// Finds a page's text fields again: the locator of the focused field, and the
// field of a locator focused with its content selected. A locator names the
// field in its document and, for a field in a frame, each frame on the way:
// by an id that is unique and not one the page makes anew at each load (no
// uuids, counters or hashes), else by its name within its form, else by its
// place among the fields of its shape (tag, role, lasting classes) in its
// region (the nearest element with such an id, or its form), with the labels
// it shows (aria-label, placeholder, title) to tell it apart. A field that
// appeared on the user's press on something else (an editor's "start
// writing" placeholder) keeps that element too: when the field is missing,
// pressing it makes the field again. Locators of earlier versions (short
// paths from an element with an id) still resolve.
// Fields are text inputs, text areas and editable elements (contenteditable,
// and the body of a document in design mode); frames are followed when they
// are of the page's own origin, as a rich-text editor's is. The scripts run in
// a world of their own: the page's scripts never see them. A locator is JSON
// and holds no text the user wrote.
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
    // Focuses the field and selects its content, so a paste replaces it. A
    // missing field whose placeholder is there is made by focusing and
    // clicking the placeholder, and waited for up to a second. Missing when
    // the page has no such field or it takes no focus.
    static void focusAndSelect(QWebEnginePage* page, const QString& locator, std::function<void(FieldKind kind)> done);
    // For each locator, whether the page has its field now, or the placeholder
    // that makes it; nothing on the page is touched. All false when the page
    // does not answer.
    static void presentFields(QWebEnginePage* page, const QStringList& locators,
                              std::function<void(QList<bool> present)> done);
    // Where the keyboard focus is: `otherFrame` empty when it is in the page
    // or a frame of the page's origin, else the address the page gave the
    // frame of another origin that has it (the frame may have moved on since:
    // it tells where the frame started, not what it shows). `answered` false
    // when the page did not answer (it went away).
    static void focusedFrame(QWebEnginePage* page, std::function<void(bool answered, const QUrl& otherFrame)> done);
    // A short name of the field for messages: "#title", "subject", a label, a path.
    static QString describe(const QString& locator);

    // Notes the user's presses in every frame from each document's start, so
    // a field a press brought up is learnt with its placeholder. Done at the
    // first question of a page's profile otherwise; a profile's owner calls
    // it at once, so presses before the first question count too.
    static void installPressNote(QWebEngineProfile* profile);
};
