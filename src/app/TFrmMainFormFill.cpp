// The form fill's part of the main window: every hotkey paste into a page
// teaches the form memory where its text goes; F9 and the button beside the
// tabs fill the current page from it, Shift+F9 and the round window forget it.
#include "TFrmMain.h"

#include "DocumentTransfer.h"
#include "ContinuousRound.h"
#include "CredentialGuard.h"
#include "FormFieldLocator.h"
#include "FormFill.h"
#include "FormMemory.h"
#include "HotkeyDispatcher.h"
#include "PostRound.h"
#include "SiteController.h"
#include "SiteStore.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "UserPressWatch.h"
#include "WebSite.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <optional>

namespace {

// The form a page's pastes teach: the address it was taught at, and its number.
const char LearningFormProperty[] = "qvbLearningForm";

// The hotkey's text and the form memory's word for it: one kind for one kind.
FormTarget formTargetOf(HotkeyTarget target)
{
    switch (target.kind) {
    case HotkeyTarget::Kind::UserName: return FormTarget::userName();
    case HotkeyTarget::Kind::Password: return FormTarget::password();
    case HotkeyTarget::Kind::SiteArticleId: return FormTarget::identifier();
    case HotkeyTarget::Kind::Clause: return FormTarget::clause(target.number);
    case HotkeyTarget::Kind::Paragraph: return FormTarget::paragraph(target.number);
    }
    return FormTarget();
}

std::optional<HotkeyTarget> hotkeyTargetOf(const FormTarget& target)
{
    switch (target.kind()) {
    case FormTarget::Kind::UserName: return HotkeyTarget::userName();
    case FormTarget::Kind::Password: return HotkeyTarget::password();
    case FormTarget::Kind::Identifier: return HotkeyTarget::siteArticleId();
    case FormTarget::Kind::Clause: return HotkeyTarget::clause(target.number());
    case FormTarget::Kind::Paragraph: return HotkeyTarget::paragraph(target.number());
    case FormTarget::Kind::Unknown: break;
    }
    return std::nullopt;  // written by a later version: left out
}

QString targetName(HotkeyTarget target)
{
    switch (target.kind) {
    case HotkeyTarget::Kind::UserName: return TFrmMain::tr("用户名");
    case HotkeyTarget::Kind::Password: return TFrmMain::tr("密码");
    case HotkeyTarget::Kind::SiteArticleId: return TFrmMain::tr("文章ID");
    case HotkeyTarget::Kind::Clause: return TFrmMain::tr("短句%1").arg(target.number);
    case HotkeyTarget::Kind::Paragraph: return TFrmMain::tr("段落%1").arg(target.number);
    }
    return QString();
}

}  // namespace

void TFrmMain::wireFormFill()
{
    m_formMemory = new FormMemory(*m_historyDatabase, this);
    m_formFill = new FormFill(*m_hotkeys->pasteText(), this);
    m_formFill->setTextFor(m_hotkeys->textFor());

    // Learning: the field that has the focus when a hotkey pastes into the page.
    connect(m_hotkeys, &HotkeyDispatcher::hotkeyPasted, this, [this](HotkeyTarget target, QWidget* receiver) {
        TWebbrowser* browser = PageControl->CurBrowser();
        // A hotkey pressed during a fill waits for it: its field is not known yet.
        if (!browser || !receiver || !browser->isAncestorOf(receiver) || m_formFill->isRunning())
            return;
        UserPressWatch::noteTyping(browser->page());  // the continuous round leaves the page to the user
        const QString site = m_sites->store().record().siteName;
        if (site.isEmpty())
            return;  // the memory is kept per site
        const QUrl address = browser->url();
        const QString page = FormMemory::pageOf(address);
        FormFieldLocator::locateFocused(
            browser->page(),
            [self = QPointer<TFrmMain>(this), view = QPointer<TWebbrowser>(browser), site, page, address,
             learnt = formTargetOf(target)](const QString& locator) {
                if (!self || !view || locator.isEmpty())
                    return;
                FormMemory* memory = self->m_formMemory;
                const int known = int(memory->fieldsOf(site, page).size());
                // The fields taught at one address, query and all, are one form.
                const QVariantList learning = view->page()->property(LearningFormProperty).toList();
                const int form = learning.value(0).toUrl() == address ? learning.value(1).toInt() : -1;
                const int taught = memory->remember(site, page, {locator, learnt, 0}, form);
                view->page()->setProperty(LearningFormProperty, QVariantList{address, taught});
                // Said when the page learns a field, not at every paste.
                const QList<FormMemory::Field> fields = memory->fieldsOf(site, page);
                if (fields.size() > known)
                    self->showHint(
                        tr("本页已学会 %1 栏的填法，以后按 F9 一次填好")
                            .arg(std::count_if(fields.cbegin(), fields.cend(),
                                               [taught](const FormMemory::Field& f) { return f.form == taught; })));
            });
    });
    connect(m_formFill, &FormFill::finished, this, &TFrmMain::reportFill);
    connect(m_formMemory, &FormMemory::writeFailed, this,
            [this](const QString& error) { showHint(tr("无法保存填表记忆：%1").arg(error)); });
    connect(&m_sites->store(), &SiteStore::siteRenamed, m_formMemory, &FormMemory::renameSite);
    connect(m_transfer, &DocumentTransfer::importFinished, m_formMemory, &FormMemory::reload);

    QToolButton* fillButton = addCornerButton(
        "BtnFormFill", tr("填表"), tr("按学过的填法一次填好本页的表单（F9），不提交；Shift+F9 忘记本页的填法"));
    connect(fillButton, &QToolButton::clicked, this, &TFrmMain::FillCurrentPage);

    connect(m_postRound, &PostRound::forgetFormRequested, this, [this] {
        ForgetCurrentPage();
        m_postRound->showMessage(m_layout.LblHint->text());
    });
    connect(m_postRound, &PostRound::forgetCredentialPairsRequested, this, [this] {
        showHint(m_credentialGuard->forgetKept() ? tr("已忘记：粘贴用户名或密码到别的站点时会重新询问")
                                                 : tr("没有记住的密码粘贴许可"));
        m_postRound->showMessage(m_layout.LblHint->text());
    });

    m_hotkeys->addCommandKey(QKeyCombination(Qt::Key_F9), [this] { FillCurrentPage(); });
    m_hotkeys->addCommandKey(QKeyCombination(Qt::ShiftModifier, Qt::Key_F9), [this] { ForgetCurrentPage(); });
}

void TFrmMain::FillCurrentPage()
{
    TWebbrowser* browser = PageControl->CurBrowser();
    // A second fill would only repeat the one that runs.
    if (!browser || m_formFill->isRunning())
        return;
    const QUrl address = browser->url();
    const QList<QList<FormMemory::Field>> forms =
        m_formMemory->formsOf(m_sites->store().record().siteName, FormMemory::pageOf(address));
    if (forms.isEmpty()) {
        const QString notLearnt = tr("本页还没有学过填表：用热键把各栏粘贴一次，以后按 F9 一次填好");
        // A teammate may have taught it.
        const bool asked = fetchTeamForm(browser, [this, notLearnt](bool found) {
            if (found)
                FillCurrentPage();
            else
                showHint(notLearnt);
        });
        if (!asked)
            showHint(notLearnt);
        return;
    }
    if (forms.size() == 1) {
        fillForm(browser, forms.first());
        return;
    }
    // Several forms at this address (a login page and an edit page): the one
    // with the most of its fields on the page now; a later one on a tie.
    QStringList locators;
    for (const QList<FormMemory::Field>& form : forms)
        for (const FormMemory::Field& field : form)
            locators << field.locator;
    FormFieldLocator::presentFields(browser->page(), locators,
                                    [self = QPointer<TFrmMain>(this), view = QPointer<TWebbrowser>(browser), address,
                                     forms](const QList<bool>& present) {
                                        if (!self || !view || view != self->PageControl->CurBrowser()
                                            || view->url() != address)
                                            return;
                                        int best = 0, mostPresent = -1, at = 0;
                                        for (int form = 0; form < forms.size(); ++form) {
                                            int count = 0;
                                            for (int field = 0; field < forms.at(form).size(); ++field)
                                                count += present.value(at++) ? 1 : 0;
                                            if (count >= mostPresent) {
                                                best = form;
                                                mostPresent = count;
                                            }
                                        }
                                        // Not inside the engine's answer: the fill may ask the user first.
                                        QTimer::singleShot(0, self, [self, view, form = forms.at(best)] {
                                            if (self && view)
                                                self->fillForm(view, form);
                                        });
                                    });
}

void TFrmMain::fillForm(TWebbrowser* browser, const QList<FormMemory::Field>& form)
{
    if (m_formFill->isRunning())
        return;
    const QUrl startUrl = browser->url();
    const QString page = FormMemory::pageOf(startUrl);
    QList<FormFill::Field> fields;
    std::optional<HotkeyTarget> credential;
    for (const FormMemory::Field& known : form)
        if (const std::optional<HotkeyTarget> target = hotkeyTargetOf(known.target)) {
            fields << FormFill::Field{known.locator, *target};
            if (target->isCredential() && (!credential || target->kind == HotkeyTarget::Kind::Password))
                credential = target;
        }
    // Credentials go only to the current site's own pages, or where the user says.
    m_credentialsWithheld.clear();
    if (credential && !m_credentialGuard->mayFill(browser->page(), *credential)) {
        for (const FormFill::Field& field : std::as_const(fields))
            if (field.target.isCredential())
                m_credentialsWithheld << field;
        fields.erase(std::remove_if(fields.begin(), fields.end(),
                                    [](const FormFill::Field& field) { return field.target.isCredential(); }),
                     fields.end());
    }
    if (fields.isEmpty() || PageControl->CurBrowser() != browser || browser->url() != startUrl) {
        reportFill(FormFill::Outcome{});
        return;
    }
    showHint(tr("正在填表……"));
    m_fillingPage = browser->page();
    const QString site = WebSite::of(startUrl);
    // Before each field: still this tab, shown, on the page the fill began on.
    auto stillOnPage = [this, view = QPointer<TWebbrowser>(browser), page, site] {
        return view && view == PageControl->CurBrowser() && view->isVisible() && FormMemory::pageOf(view->url()) == page
            && WebSite::of(view->url()) == site;
    };
    m_formFill->start(
        fields,
        [view = QPointer<TWebbrowser>(browser), stillOnPage](const QString& locator,
                                                             std::function<void(FormFill::Focus)> done) {
            if (!stillOnPage()) {
                done(FormFill::Focus::PageLeft);
                return;
            }
            view->setFocus();  // the pasting keys go to the focused widget
            FormFieldLocator::focusAndSelect(view->page(), locator, [done](FormFieldLocator::FieldKind kind) {
                using Kind = FormFieldLocator::FieldKind;
                done(kind == Kind::Password         ? FormFill::Focus::PasswordField
                         : kind == Kind::SingleLine ? FormFill::Focus::SingleLineField
                         : kind == Kind::MultiLine  ? FormFill::Focus::TextField
                                                    : FormFill::Focus::Missing);
            });
        },
        stillOnPage);
}

void TFrmMain::reportFill(const FormFill::Outcome& outcome)
{
    // Only a fill that put an article text in makes the next submit a post.
    if (outcome.articleTextFilled)
        noteArticlePaste(m_fillingPage);
    m_fillingPage.clear();
    auto names = [](const QList<FormFill::Field>& fields, bool withLocator) {
        QStringList list;
        for (const FormFill::Field& field : fields)
            list << (withLocator
                         ? tr("%1（%2）").arg(targetName(field.target), FormFieldLocator::describe(field.locator))
                         : targetName(field.target));
        return list.join(tr("、"));
    };
    QStringList parts{tr("已填写 %1 项，请检查后用网页上的按钮提交").arg(outcome.filled)};
    if (outcome.pageLeft)
        parts << tr("网页已转到别处，填表已停止");
    if (!outcome.missing.isEmpty())
        parts << tr("本页找不到 %1 项：%2").arg(outcome.missing.size()).arg(names(outcome.missing, true));
    if (!outcome.unsuitable.isEmpty())
        parts << tr("用户名只填单行栏、密码只填密码栏，未填：%1").arg(names(outcome.unsuitable, true));
    if (!m_credentialsWithheld.isEmpty())
        parts << tr("本页不是当前站点的网址，未填：%1").arg(names(m_credentialsWithheld, false));
    m_credentialsWithheld.clear();
    if (!outcome.empty.isEmpty())
        parts << tr("没有内容、未填：%1").arg(names(outcome.empty, false));
    const QString report = parts.join(tr("；"));
    showHint(m_continuousRound && m_continuousRound->isOn() ? tr("连续发布：%1").arg(report) : report);
}

void TFrmMain::ForgetCurrentPage()
{
    TWebbrowser* browser = PageControl->CurBrowser();
    if (!browser)
        return;
    const QString page = FormMemory::pageOf(browser->url());
    if (m_formMemory->forgetPage(m_sites->store().record().siteName, page))
        showHint(tr("已忘记本页的填法：%1").arg(page));
    else
        showHint(tr("本页没有学过的填法"));
}
