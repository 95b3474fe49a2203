#include "CredentialGuard.h"

#include "FormFieldLocator.h"
#include "InterfaceTexts.h"
#include "WebSite.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

QWebEngineView* viewHolding(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (auto* view = qobject_cast<QWebEngineView*>(w))
            return view;
    return nullptr;
}

QString keyOf(const QString& ownSite, const QString& otherSite) { return ownSite + QLatin1Char(' ') + otherSite; }

}  // namespace

CredentialGuard::CredentialGuard(QWidget* dialogParent, std::function<CurrentSite()> currentSite, QObject* parent)
    : QObject(parent), m_dialogParent(dialogParent), m_currentSite(std::move(currentSite))
{
}

bool CredentialGuard::isPageMadeWindow(const QWidget* widget)
{
    if (!widget)
        return false;
    for (const QWidget* w = widget->window()->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<const QWebEngineView*>(w))
            return true;
    return false;
}

QString CredentialGuard::ownSite() const { return WebSite::of(QUrl::fromUserInput(m_currentSite().address)); }

std::function<bool()> CredentialGuard::staysOn(QWebEnginePage* page, const QString& site)
{
    return [page = QPointer<QWebEnginePage>(page), site] { return page && WebSite::of(page->url()) == site; };
}

void CredentialGuard::checkHotkey(HotkeyTarget target, QWidget* receiver, HotkeyDispatcher::Paste paste)
{
    if (!receiver)
        return;
    if (isPageMadeWindow(receiver)) {
        emit refused(tr("网页弹出的对话框和窗口不会得到用户名或密码"));
        return;
    }
    QWebEngineView* view = viewHolding(receiver);
    if (!view) {
        paste({});  // a field of the program itself
        return;
    }
    QPointer<QWebEnginePage> page = view->page();
    const QString pageSite = WebSite::of(page->url());
    FormFieldLocator::focusedFrame(
        page,
        [self = QPointer<CredentialGuard>(this), page, pageSite, target, paste](bool answered, const QUrl& otherFrame) {
            // The page went away or moved on while it was asked: nothing goes in.
            if (!self || !answered || !page || WebSite::of(page->url()) != pageSite)
                return;
            if (otherFrame.isEmpty() && !pageSite.isEmpty() && pageSite == self->ownSite()) {
                paste(staysOn(page, pageSite));
                return;
            }
            // A frame of another origin says only where it started: it is
            // always another site's until the user says otherwise, named by
            // its site, or by its address when that has none.
            const QString frameSite = WebSite::of(otherFrame);
            const QString other = otherFrame.isEmpty() ? pageSite
                : frameSite.isEmpty()                  ? otherFrame.toString()
                                                       : frameSite;
            // The question waits for its own turn of the event loop, never
            // inside the engine's answer.
            QMetaObject::invokeMethod(
                self,
                [self, page, pageSite, target, paste, other] {
                    if (self && page && self->mayGoTo(target, other))
                        paste(staysOn(page, pageSite));
                },
                Qt::QueuedConnection);
        });
}

bool CredentialGuard::mayFill(QWebEnginePage* page, HotkeyTarget target)
{
    const QString pageSite = page ? WebSite::of(page->url()) : QString();
    return !pageSite.isEmpty() && (pageSite == ownSite() || mayGoTo(target, pageSite));
}

bool CredentialGuard::mayGoTo(HotkeyTarget target, const QString& otherSite)
{
    const QString own = ownSite();
    if (!own.isEmpty() && m_kept.contains(keyOf(own, otherSite)))
        return true;
    const QString name = m_currentSite().name;
    const QString question = target.kind == HotkeyTarget::Kind::Password
        ? tr("把「%1」的密码粘贴到 %2 吗？").arg(name, otherSite)
        : tr("把「%1」的用户名粘贴到 %2 吗？").arg(name, otherSite);
    QMessageBox box(QMessageBox::Warning, InterfaceTexts::productName(), question, QMessageBox::Yes | QMessageBox::No,
                    m_dialogParent);
    box.setTextFormat(Qt::PlainText);  // the address is the page's to choose
    box.setInformativeText(tr("这里不是该站点网址（%1）的网页。").arg(own.isEmpty() ? tr("没有网址") : own));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    QCheckBox* keep = nullptr;
    if (!own.isEmpty()) {
        keep = new QCheckBox(tr("记住：这两个站点之间不再询问（到程序退出为止）"), &box);
        box.setCheckBox(keep);
    }
    const bool yes = box.exec() == QMessageBox::Yes;
    // The paste goes to the window's focus: the window takes it back from the box.
    if (m_dialogParent)
        m_dialogParent->activateWindow();
    if (!yes) {
        emit refused(tr("未粘贴：%1 不是「%2」的网址").arg(otherSite, name));
        return false;
    }
    if (keep && keep->isChecked())
        m_kept.insert(keyOf(own, otherSite));
    return true;
}

bool CredentialGuard::forgetKept()
{
    const bool any = !m_kept.isEmpty();
    m_kept.clear();
    return any;
}
