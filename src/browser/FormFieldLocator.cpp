#include "FormFieldLocator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// One function for every question; called with (command, argument): "locate",
// "focus"/"refocus" with a locator, "present" with a list of locators, "frame",
// and "watch", which only sets up the note of the user's presses.
const char LocatorScript[] = R"JS(
(function (command, argument) {
  'use strict';
  var MaxFrames = 8;
  var TextTypes = ['text', 'password', 'email', 'search', 'tel', 'url', 'number'];
  // A field that came after a press within this long came of the press.
  var PressCountsMs = 5000;
  var KeptPresses = 5;
  var MaxClasses = 8;
  var MaxHintLength = 200;
  var Pressable = 'button, a[href], summary, label, [role=button], [role=link], [role=tab], [role=menuitem], [onclick]';
  var HintKeys = ['label', 'hint', 'title'];
  var slice = Array.prototype.slice;

  // --- Fields and frames

  function isTextInput(el) {
    return el.tagName === 'TEXTAREA' || (el.tagName === 'INPUT' && TextTypes.indexOf(el.type) >= 0);
  }
  function isFrame(el) { return el.tagName === 'IFRAME' || el.tagName === 'FRAME'; }
  function frameDocument(frame) { try { return frame.contentDocument; } catch (e) { return null; } }
  function isField(el, doc) {
    return isTextInput(el) || el.isContentEditable || (el === doc.body && doc.designMode === 'on');
  }
  function isEditingHost(el) {
    return el.isContentEditable && !(el.parentElement && el.parentElement.isContentEditable);
  }
  // The focus may sit in an element inside an editor: the editor takes the text.
  function editingHost(el, doc) {
    while (el !== doc.body && el.parentElement && el.parentElement.isContentEditable) el = el.parentElement;
    return el;
  }
  // The fields of a region in document order: text inputs, text areas, editors.
  function editablesIn(region) {
    return slice.call(region.querySelectorAll('input, textarea, [contenteditable]')).filter(function (el) {
      return isTextInput(el) || isEditingHost(el);
    });
  }

  // --- What stays from one load of a page to the next

  // Ids, names and classes a page makes anew at each load: uuids, counters,
  // hashes, the ids of scripting frameworks.
  function looksGenerated(word) {
    if (/^:.*:$/.test(word) || /\d{3,}/.test(word) || /[0-9a-f]{8}-[0-9a-f]{4}-/i.test(word)) return true;
    return word.split(/[^0-9A-Za-z]+/).some(function (part) {
      var digits = part.replace(/\D/g, '').length;
      return (part.length >= 6 && digits >= 2) || (part.length >= 8 && digits >= 1 && /^[0-9a-f]+$/i.test(part))
          || (part.length >= 5 && part.length <= 8 && /[a-z][A-Z].*[a-z][A-Z]/.test(part));
    });
  }
  // Classes that tell the field's state (focused, selected, empty), not what it is.
  var StateClass = new RegExp('^(is|has|ng|Mui)-|(^|[-_])(focus|focused|focus-within|blur|blurred|active|selected|' +
      'hover|hovered|highlighted|checked|disabled|open|opened|expanded|collapsed|empty|blank|filled|dirty|' +
      'pristine|touched|untouched|valid|invalid|error|typing|loading|visible|hidden)$', 'i');
  var StyleHash = /^(css|sc|jsx|svelte|emotion|styled)-/;
  function stableClasses(el) {
    return slice.call(el.classList).filter(function (name) {
      return !looksGenerated(name) && !StateClass.test(name) && !StyleHash.test(name);
    }).slice(0, MaxClasses);
  }
  function withId(doc, id) { return doc.querySelectorAll('#' + CSS.escape(id)); }
  // A form's own properties may be its fields ("<input name=id>" makes form.id
  // that input), and so may a document's: read them through the prototypes.
  function idOf(el) { return el.getAttribute('id') || ''; }
  function formsOf(doc) { return slice.call(Object.getOwnPropertyDescriptor(Document.prototype, 'forms').get.call(doc)); }
  function elementsOf(form) {
    return Object.getOwnPropertyDescriptor(HTMLFormElement.prototype, 'elements').get.call(form);
  }
  function hasUniqueId(el, doc) {
    var id = idOf(el);
    return !!id && !looksGenerated(id) && withId(doc, id).length === 1;
  }
  function stableName(el) {
    var name = el.getAttribute('name');
    return name && !looksGenerated(name) ? name : '';
  }

  // --- Steps: how an element is found in its document

  function formRef(form, doc) {
    if (hasUniqueId(form, doc)) return {id: idOf(form)};
    var forms = formsOf(doc), name = stableName(form);
    if (name && forms.filter(function (f) { return f.getAttribute('name') === name; }).length === 1)
      return {name: name};
    return {index: forms.indexOf(form)};
  }
  function resolveForm(ref, doc) {
    var forms = formsOf(doc);
    if (typeof ref.id === 'string') return forms.filter(function (f) { return idOf(f) === ref.id; })[0] || null;
    if (typeof ref.name === 'string')
      return forms.filter(function (f) { return f.getAttribute('name') === ref.name; })[0] || null;
    return forms[ref.index] || null;
  }
  // Elements of one name and tag in the form, or outside every form.
  function namesakes(doc, form, name, tag) {
    var scope = form ? elementsOf(form) : doc.getElementsByName(name);
    return slice.call(scope).filter(function (el) {
      return el.getAttribute('name') === name && el.tagName.toLowerCase() === tag && (form || !el.form);
    });
  }

  // The region an element is counted in: the nearest element with a stable
  // id, or its form, else the body (no anchor).
  function anchorOf(el, doc) {
    for (var up = el.parentElement; up && up !== doc.body && up !== doc.documentElement; up = up.parentElement) {
      if (hasUniqueId(up, doc)) return {id: idOf(up)};
      if (up.tagName === 'FORM') return {form: formRef(up, doc)};
    }
    return null;
  }
  function resolveAnchor(ref, doc) {
    if (!ref) return doc.body || doc.documentElement;
    if (typeof ref.id === 'string') return doc.getElementById(ref.id);
    if (ref.form && typeof ref.form === 'object') return resolveForm(ref.form, doc);
    return null;
  }

  function hintOf(el, key) {
    var value = key === 'label' ? el.getAttribute('aria-label')
        : key === 'hint' ? el.getAttribute('placeholder') || el.getAttribute('aria-placeholder') ||
                           el.getAttribute('data-placeholder')
        : el.getAttribute('title');
    return value ? value.trim().slice(0, MaxHintLength) : '';
  }
  function matchesHints(el, step) {
    return HintKeys.every(function (key) { return typeof step[key] !== 'string' || hintOf(el, key) === step[key]; });
  }
  function sharedClasses(el, classes) {
    return classes.filter(function (name) { return el.classList.contains(name); }).length;
  }
  // The elements of the step's shape: tag, input type, role and all its
  // classes, else most of them (a class the page adds for a while may have
  // been taken for a lasting one).
  function ofShape(pool, step) {
    var same = pool.filter(function (el) {
      return el.tagName.toLowerCase() === step.tag && (el.getAttribute('role') || '') === (step.role || '') &&
             (typeof step.type !== 'string' || el.type === step.type);
    });
    var classes = Array.isArray(step['class']) ? step['class'] : [];
    var all = same.filter(function (el) { return sharedClasses(el, classes) === classes.length; });
    if (all.length || !classes.length) return all;
    return same.filter(function (el) { return 2 * sharedClasses(el, classes) >= classes.length; });
  }
  function candidatesOf(step, region) {
    var pool = typeof step.editable === 'number' ? editablesIn(region)
                                                 : slice.call(region.getElementsByTagName(step.tag));
    return ofShape(pool, step);
  }
  // A field (or other element) by what it is: its place among the fields (or
  // elements) of its shape in its region, and the labels it shows.
  function describedStep(el, doc) {
    var count = isField(el, doc) ? 'editable' : 'element';
    var step = {};
    step[count] = 0;
    var within = anchorOf(el, doc);
    if (within) step.within = within;
    step.tag = el.tagName.toLowerCase();
    if (el.tagName === 'INPUT') step.type = el.type;
    var role = el.getAttribute('role');
    if (role) step.role = role;
    var classes = stableClasses(el);
    if (classes.length) step['class'] = classes;
    HintKeys.forEach(function (key) {
      var hint = hintOf(el, key);
      if (hint) step[key] = hint;
    });
    step[count] = Math.max(0, candidatesOf(step, resolveAnchor(within, doc)).indexOf(el));
    return step;
  }
  // The element at the step's place, unless another of its shape shows the
  // step's labels; a label that changed (an empty editor's) leaves the place.
  function resolveDescribed(step, doc) {
    var region = resolveAnchor(step.within, doc);
    if (!region || typeof step.tag !== 'string') return null;
    var candidates = candidatesOf(step, region);
    var atPlace = candidates[typeof step.editable === 'number' ? step.editable : step.element] || null;
    var labelled = candidates.filter(function (el) { return matchesHints(el, step); });
    return labelled.length === 0 || labelled.indexOf(atPlace) >= 0 ? atPlace : labelled[0];
  }

  function stepFor(el, doc) {
    if (hasUniqueId(el, doc)) return {id: idOf(el)};
    var name = stableName(el);
    if (name) {
      var form = el.form || null, tag = el.tagName.toLowerCase();
      var n = namesakes(doc, form, name, tag).indexOf(el);
      if (n >= 0) {
        var step = {name: name, tag: tag, n: n};
        if (form) step.form = formRef(form, doc);
        return step;
      }
    }
    if (el === doc.body) return {path: 'body'};
    return describedStep(el, doc);
  }
  function resolve(step, doc) {
    try {
      if (typeof step.id === 'string') return doc.getElementById(step.id);
      if (typeof step.name === 'string') {
        var form = step.form ? resolveForm(step.form, doc) : null;
        if (step.form && !form) return null;
        return namesakes(doc, form, step.name, String(step.tag))[step.n] || null;
      }
      if (typeof step.path === 'string') return doc.querySelector(step.path);
      if (typeof step.editable === 'number' || typeof step.element === 'number') return resolveDescribed(step, doc);
    } catch (e) {}
    return null;
  }

  // --- The user's presses: a field that appears on a click on something else
  // (an editor's "start writing" placeholder) is found again through it.

  function watchPresses(doc) {
    var win = doc.defaultView;
    if (!win || win.__qvbPressWatch) return;
    win.__qvbPressWatch = true;
    win.__qvbPresses = [];
    // Before the page's own handlers: a placeholder may be gone once they ran.
    doc.addEventListener('pointerdown', function (event) { notePress(event, doc); }, true);
  }
  function notePress(event, doc) {
    var target = event.target;
    // Only the user's own presses (a page's click() is not trusted), and not into fields.
    if (!event.isTrusted || !target || target.nodeType !== 1 || isField(target, doc) || target.isContentEditable)
      return;
    var pressed = target.closest(Pressable) || target;
    if (pressed === doc.body || pressed === doc.documentElement) return;
    var presses = doc.defaultView.__qvbPresses;
    presses.push({time: Date.now(), element: pressed, step: stepFor(pressed, doc),
                  fieldsBefore: new WeakSet(editablesIn(doc))});
    if (presses.length > KeptPresses) presses.shift();
  }
  // The element whose press brought the field: the last press before the
  // field was there, if recent and not on the field itself.
  function placeholderOf(field, doc) {
    var presses = (doc.defaultView && doc.defaultView.__qvbPresses) || [];
    for (var i = presses.length - 1; i >= 0; --i) {
      var press = presses[i];
      if (Date.now() - press.time > PressCountsMs) return null;
      if (press.fieldsBefore.has(field)) continue;
      return press.element === field || field.contains(press.element) ? null : press.step;
    }
    return null;
  }

  // --- Questions

  // The focused element through same-origin frames, with the frames on the way.
  function focusChain() {
    var doc = document, frames = [];
    for (var depth = 0; depth <= MaxFrames; ++depth) {
      var el = doc.activeElement;
      if (!el) return null;
      // A click below a design-mode document's content focuses its root: the body takes the text.
      if (el === doc.documentElement && doc.body) el = doc.body;
      if (!isFrame(el)) return {el: el.isContentEditable ? editingHost(el, doc) : el, doc: doc, frames: frames};
      var inner = frameDocument(el);
      if (!inner) return null;
      watchPresses(inner);
      frames.push({el: el, doc: doc});
      doc = inner;
    }
    return null;
  }

  function locate() {
    var chain = focusChain();
    if (!chain || !isField(chain.el, chain.doc)) return '';
    var steps = chain.frames.map(function (f) { return stepFor(f.el, f.doc); });
    var last = stepFor(chain.el, chain.doc);
    var placeholder = placeholderOf(chain.el, chain.doc);
    if (placeholder) last.placeholder = placeholder;
    steps.push(last);
    return JSON.stringify(steps);
  }

  // The document of the locator's field, through the frames of the steps before it.
  function documentOf(steps) {
    if (!Array.isArray(steps) || steps.length === 0 || steps.length > MaxFrames + 1) return null;
    var doc = document;
    for (var i = 0; i + 1 < steps.length; ++i) {
      var frame = resolve(steps[i], doc);
      var inner = frame && isFrame(frame) ? frameDocument(frame) : null;
      if (!inner) return null;
      doc = inner;
    }
    return doc;
  }
  function fieldOf(step, doc) {
    var el = resolve(step, doc);
    if (el === doc.documentElement) el = doc.body;
    return el && isField(el, doc) ? el : null;
  }
  function placeholderIn(step, doc) {
    var placeholder = step.placeholder;
    return placeholder && typeof placeholder === 'object' ? resolve(placeholder, doc) : null;
  }

  // What the field takes: a password, one line, or any text.
  function kindOf(el) {
    if (el.tagName === 'INPUT') return el.type === 'password' ? 'password' : 'line';
    return 'text';
  }

  // 'opened' when the field is missing and its placeholder was pressed: the
  // page makes the field, maybe a moment later.
  function focusAndSelect(steps, mayOpen) {
    var doc = documentOf(steps);
    if (!doc) return '';
    var last = steps[steps.length - 1];
    var el = fieldOf(last, doc);
    var win = doc.defaultView;
    if (!el) {
      var placeholder = mayOpen ? placeholderIn(last, doc) : null;
      if (!placeholder) return '';
      if (win) win.focus();
      // As the user's click did; the page's handlers answer a focus or a click.
      if (placeholder.focus) placeholder.focus();
      if (placeholder.isConnected && placeholder.click) placeholder.click();
      return 'opened';
    }
    if (win) win.focus();  // brings the focus into the field's frame
    el.focus();
    if (isTextInput(el)) {
      try { el.select(); } catch (e) {}
    } else if (win) {
      var range = doc.createRange();
      range.selectNodeContents(el);
      var selection = win.getSelection();
      selection.removeAllRanges();
      selection.addRange(range);
    }
    var chain = focusChain();
    return chain && chain.el === el ? kindOf(el) : '';
  }

  // Whether the page has the field, or the placeholder that makes it.
  function isPresent(steps) {
    var doc = documentOf(steps);
    if (!doc) return false;
    var last = steps[steps.length - 1];
    return !!(fieldOf(last, doc) || placeholderIn(last, doc));
  }

  // Where the focus is: '' in this document or a frame of its origin, else
  // the address the page gave the frame of another origin that holds it.
  function focusedOtherFrame() {
    var doc = document;
    for (var depth = 0; depth <= MaxFrames; ++depth) {
      var el = doc.activeElement;
      if (!el || !isFrame(el)) return '';
      var inner = frameDocument(el);
      if (!inner) return el.src || 'about:blank';
      doc = inner;
    }
    return 'about:blank';
  }

  // A document made before the note was installed is watched from the first question on.
  watchPresses(document);
  if (command === 'watch') return '';
  if (command === 'locate') return locate();
  if (command === 'frame') return focusedOtherFrame();
  if (command === 'present') {
    var locators = [];
    try { locators = JSON.parse(argument); } catch (e) {}
    return locators.map(function (text) {
      try { return isPresent(JSON.parse(text)); } catch (e) { return false; }
    });
  }
  try { return focusAndSelect(JSON.parse(argument), command === 'focus'); } catch (e) { return ''; }
})
)JS";

const char PressNoteName[] = "qvb-form-field-press-note";
// After a placeholder was pressed, the page gets this long to make the field.
constexpr int OpenRetryMs = 50;
constexpr int OpenRetries = 20;

QString call(const char* command, const QString& argument = QString())
{
    // Arguments as JSON string literals: a stored locator is data, never code.
    const QByteArray arguments =
        QJsonDocument(QJsonArray{QString::fromLatin1(command), argument}).toJson(QJsonDocument::Compact);
    return QString::fromLatin1(LocatorScript) + QStringLiteral(".apply(null, ") + QString::fromUtf8(arguments)
        + QStringLiteral(")");
}

// Every question goes through here: the first one sets up the note of presses.
void ask(QWebEnginePage* page, const QString& script, std::function<void(const QVariant&)> answer)
{
    FormFieldLocator::installPressNote(page->profile());
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, std::move(answer));
}

FormFieldLocator::FieldKind kindOf(const QVariant& answer)
{
    using Kind = FormFieldLocator::FieldKind;
    const QString kind = answer.toString();
    return kind == QLatin1String("password") ? Kind::Password
        : kind == QLatin1String("line")      ? Kind::SingleLine
        : kind == QLatin1String("text")      ? Kind::MultiLine
                                             : Kind::Missing;
}

// Asks again, without pressing the placeholder again, until the field is there.
void focusOpened(QPointer<QWebEnginePage> page, const QString& locator, int triesLeft,
                 std::function<void(FormFieldLocator::FieldKind)> done)
{
    QTimer::singleShot(OpenRetryMs, [page, locator, triesLeft, done = std::move(done)]() mutable {
        if (!page) {
            done(FormFieldLocator::FieldKind::Missing);
            return;
        }
        ask(page, call("refocus", locator), [page, locator, triesLeft, done](const QVariant& answer) {
            const FormFieldLocator::FieldKind kind = kindOf(answer);
            if (kind != FormFieldLocator::FieldKind::Missing || triesLeft <= 1 || !answer.isValid())
                done(kind);
            else
                focusOpened(page, locator, triesLeft - 1, done);
        });
    });
}

QString describeStep(const QJsonObject& step)
{
    if (step.contains(QLatin1String("id")))
        return QLatin1Char('#') + step.value(QLatin1String("id")).toString();
    if (step.contains(QLatin1String("name")))
        return step.value(QLatin1String("name")).toString();
    if (step.contains(QLatin1String("path")))
        return step.value(QLatin1String("path")).toString();
    for (const char* hint : {"label", "hint", "title"})
        if (const QString text = step.value(QLatin1String(hint)).toString(); !text.isEmpty())
            return text;
    const QString firstClass = step.value(QLatin1String("class")).toArray().at(0).toString();
    const QJsonValue place = step.contains(QLatin1String("editable")) ? step.value(QLatin1String("editable"))
                                                                      : step.value(QLatin1String("element"));
    return step.value(QLatin1String("tag")).toString()
        + (firstClass.isEmpty() ? QString() : QLatin1Char('.') + firstClass)
        + QStringLiteral("[%1]").arg(place.toInt() + 1);
}

}  // namespace

void FormFieldLocator::installPressNote(QWebEngineProfile* profile)
{
    if (!profile || !profile->scripts()->find(QLatin1String(PressNoteName)).isEmpty())
        return;
    QWebEngineScript script;
    script.setName(QLatin1String(PressNoteName));
    script.setSourceCode(call("watch"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    profile->scripts()->insert(script);
}

void FormFieldLocator::locateFocused(QWebEnginePage* page, std::function<void(const QString& locator)> done)
{
    if (!page) {
        done(QString());
        return;
    }
    ask(page, call("locate"), [done = std::move(done)](const QVariant& result) { done(result.toString()); });
}

void FormFieldLocator::focusAndSelect(QWebEnginePage* page, const QString& locator,
                                      std::function<void(FieldKind kind)> done)
{
    if (!page || locator.isEmpty()) {
        done(FieldKind::Missing);
        return;
    }
    ask(page, call("focus", locator),
        [page = QPointer<QWebEnginePage>(page), locator, done = std::move(done)](const QVariant& result) {
            if (result.toString() == QLatin1String("opened"))
                focusOpened(page, locator, OpenRetries, done);
            else
                done(kindOf(result));
        });
}

void FormFieldLocator::presentFields(QWebEnginePage* page, const QStringList& locators,
                                     std::function<void(QList<bool> present)> done)
{
    const QList<bool> none(locators.size(), false);
    if (!page || locators.isEmpty()) {
        done(none);
        return;
    }
    const QString list =
        QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(locators)).toJson(QJsonDocument::Compact));
    ask(page, call("present", list), [none, done = std::move(done)](const QVariant& result) {
        const QVariantList answers = result.toList();
        if (answers.size() != none.size()) {
            done(none);  // no answer: the page went away meanwhile
            return;
        }
        QList<bool> present;
        for (const QVariant& answer : answers)
            present << answer.toBool();
        done(present);
    });
}

void FormFieldLocator::focusedFrame(QWebEnginePage* page,
                                    std::function<void(bool answered, const QUrl& otherFrame)> done)
{
    if (!page) {
        done(false, QUrl());
        return;
    }
    ask(page, call("frame"), [done = std::move(done)](const QVariant& result) {
        // No answer (the page went away meanwhile) is no answer.
        done(result.isValid(), QUrl(result.toString()));
    });
}

QString FormFieldLocator::describe(const QString& locator)
{
    QStringList parts;
    for (const QJsonValue& value : QJsonDocument::fromJson(locator.toUtf8()).array())
        parts << describeStep(value.toObject());
    return parts.join(QStringLiteral(" » "));
}
