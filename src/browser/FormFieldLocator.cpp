#include "FormFieldLocator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

// One function for both questions; called with ("locate") or ("focus", locator).
const char LocatorScript[] = R"JS(
(function (command, locatorText) {
  'use strict';
  var MaxFrames = 8;
  var TextTypes = ['text', 'password', 'email', 'search', 'tel', 'url', 'number'];
  var slice = Array.prototype.slice;

  function isTextInput(el) {
    return el.tagName === 'TEXTAREA' || (el.tagName === 'INPUT' && TextTypes.indexOf(el.type) >= 0);
  }
  function isFrame(el) { return el.tagName === 'IFRAME' || el.tagName === 'FRAME'; }
  function frameDocument(frame) { try { return frame.contentDocument; } catch (e) { return null; } }
  function isField(el, doc) {
    return isTextInput(el) || el.isContentEditable || (el === doc.body && doc.designMode === 'on');
  }
  // The focus may sit in an element inside an editor: the editor takes the text.
  function editingHost(el, doc) {
    while (el !== doc.body && el.parentElement && el.parentElement.isContentEditable) el = el.parentElement;
    return el;
  }
  function withId(doc, id) { return doc.querySelectorAll('#' + CSS.escape(id)); }
  function hasUniqueId(el, doc) { return !!el.id && withId(doc, el.id).length === 1; }

  function formRef(form, doc) {
    if (hasUniqueId(form, doc)) return {id: form.id};
    var forms = slice.call(doc.forms), name = form.getAttribute('name');
    if (name && forms.filter(function (f) { return f.getAttribute('name') === name; }).length === 1)
      return {name: name};
    return {index: forms.indexOf(form)};
  }
  function resolveForm(ref, doc) {
    var forms = slice.call(doc.forms);
    if (typeof ref.id === 'string') return forms.filter(function (f) { return f.id === ref.id; })[0] || null;
    if (typeof ref.name === 'string')
      return forms.filter(function (f) { return f.getAttribute('name') === ref.name; })[0] || null;
    return forms[ref.index] || null;
  }
  // Elements of one name and tag in the form, or outside every form.
  function namesakes(doc, form, name, tag) {
    var scope = form ? form.elements : doc.getElementsByName(name);
    return slice.call(scope).filter(function (el) {
      return el.getAttribute('name') === name && el.tagName.toLowerCase() === tag && (form || !el.form);
    });
  }
  // From the nearest element with a unique id (or the body) down to el.
  function pathOf(el, doc) {
    var parts = [];
    for (; el && el !== doc.body && el !== doc.documentElement; el = el.parentElement) {
      if (hasUniqueId(el, doc)) { parts.unshift('#' + CSS.escape(el.id)); return parts.join('>'); }
      var n = 1;
      for (var s = el.previousElementSibling; s; s = s.previousElementSibling) if (s.tagName === el.tagName) ++n;
      parts.unshift(CSS.escape(el.tagName.toLowerCase()) + ':nth-of-type(' + n + ')');
    }
    parts.unshift(el === doc.body ? 'body' : ':root');
    return parts.join('>');
  }
  function stepFor(el, doc) {
    if (hasUniqueId(el, doc)) return {id: el.id};
    var name = el.getAttribute('name');
    if (name) {
      var form = el.form || null, tag = el.tagName.toLowerCase();
      var n = namesakes(doc, form, name, tag).indexOf(el);
      if (n >= 0) {
        var step = {name: name, tag: tag, n: n};
        if (form) step.form = formRef(form, doc);
        return step;
      }
    }
    return {path: pathOf(el, doc)};
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
    } catch (e) {}
    return null;
  }

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
      frames.push({el: el, doc: doc});
      doc = inner;
    }
    return null;
  }

  function locate() {
    var chain = focusChain();
    if (!chain || !isField(chain.el, chain.doc)) return '';
    var steps = chain.frames.map(function (f) { return stepFor(f.el, f.doc); });
    steps.push(stepFor(chain.el, chain.doc));
    return JSON.stringify(steps);
  }

  // What the field takes: a password, one line, or any text.
  function kindOf(el) {
    if (el.tagName === 'INPUT') return el.type === 'password' ? 'password' : 'line';
    return 'text';
  }

  function focusAndSelect(steps) {
    if (!Array.isArray(steps) || steps.length === 0 || steps.length > MaxFrames + 1) return '';
    var doc = document;
    for (var i = 0; i + 1 < steps.length; ++i) {
      var frame = resolve(steps[i], doc);
      var inner = frame && isFrame(frame) ? frameDocument(frame) : null;
      if (!inner) return '';
      doc = inner;
    }
    var el = resolve(steps[steps.length - 1], doc);
    if (el === doc.documentElement) el = doc.body;
    if (!el || !isField(el, doc)) return '';
    var win = doc.defaultView;
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

  if (command === 'locate') return locate();
  if (command === 'frame') return focusedOtherFrame();
  try { return focusAndSelect(JSON.parse(locatorText)); } catch (e) { return ''; }
})
)JS";

QString call(const char* command, const QString& locator = QString())
{
    // Arguments as JSON string literals: a stored locator is data, never code.
    const QByteArray arguments =
        QJsonDocument(QJsonArray{QString::fromLatin1(command), locator}).toJson(QJsonDocument::Compact);
    return QString::fromLatin1(LocatorScript) + QStringLiteral(".apply(null, ") + QString::fromUtf8(arguments)
        + QStringLiteral(")");
}

}  // namespace

void FormFieldLocator::locateFocused(QWebEnginePage* page, std::function<void(const QString& locator)> done)
{
    if (!page) {
        done(QString());
        return;
    }
    page->runJavaScript(call("locate"), QWebEngineScript::ApplicationWorld,
                        [done = std::move(done)](const QVariant& result) { done(result.toString()); });
}

void FormFieldLocator::focusAndSelect(QWebEnginePage* page, const QString& locator,
                                      std::function<void(FieldKind kind)> done)
{
    if (!page || locator.isEmpty()) {
        done(FieldKind::Missing);
        return;
    }
    page->runJavaScript(call("focus", locator), QWebEngineScript::ApplicationWorld,
                        [done = std::move(done)](const QVariant& result) {
                            const QString kind = result.toString();
                            done(kind == QLatin1String("password")   ? FieldKind::Password
                                     : kind == QLatin1String("line") ? FieldKind::SingleLine
                                     : kind == QLatin1String("text") ? FieldKind::MultiLine
                                                                     : FieldKind::Missing);
                        });
}

void FormFieldLocator::focusedFrame(QWebEnginePage* page,
                                    std::function<void(bool answered, const QUrl& otherFrame)> done)
{
    if (!page) {
        done(false, QUrl());
        return;
    }
    page->runJavaScript(call("frame"), QWebEngineScript::ApplicationWorld,
                        [done = std::move(done)](const QVariant& result) {
                            // No answer (the page went away meanwhile) is no answer.
                            done(result.isValid(), QUrl(result.toString()));
                        });
}

QString FormFieldLocator::describe(const QString& locator)
{
    QStringList parts;
    for (const QJsonValue& value : QJsonDocument::fromJson(locator.toUtf8()).array()) {
        const QJsonObject step = value.toObject();
        if (step.contains(QLatin1String("id")))
            parts << QLatin1Char('#') + step.value(QLatin1String("id")).toString();
        else if (step.contains(QLatin1String("name")))
            parts << step.value(QLatin1String("name")).toString();
        else
            parts << step.value(QLatin1String("path")).toString();
    }
    return parts.join(QStringLiteral(" » "));
}
