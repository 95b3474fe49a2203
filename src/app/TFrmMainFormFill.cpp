// The form fill's part of the main window: every hotkey paste into a page
// teaches the form memory where its text goes; F9 and the button beside the
// tabs fill the current page from it, Shift+F9 and the round window forget it.
#include "TFrmMain.h"

#include "DocumentTransfer.h"
#include "FormFieldLocator.h"
#include "FormFill.h"
#include "FormMemory.h"
#include "HotkeyDispatcher.h"
#include "PostRound.h"
#include "SiteController.h"
#include "SiteStore.h"
#include "TFrmPostRound.h"
#include "TPageControl.h"
#include "TWebbrowser.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

#include <optional>

namespace {

// How the memory names a text: "user", "password", "identifier", "clause 3", "paragraph 1".
QString targetKey(HotkeyTarget target)
{
    switch (target.kind) {
    case HotkeyTarget::Kind::UserName: return QStringLiteral("user");
    case HotkeyTarget::Kind::Password: return QStringLiteral("password");
    case HotkeyTarget::Kind::SiteArticleId: return QStringLiteral("identifier");
    case HotkeyTarget::Kind::Clause: return QStringLiteral("clause %1").arg(target.number);
    case HotkeyTarget::Kind::Paragraph: return QStringLiteral("paragraph %1").arg(target.number);
    }
    return QString();
}

std::optional<HotkeyTarget> targetOfKey(const QString& key)
{
    for (HotkeyTarget target : {HotkeyTarget::userName(), HotkeyTarget::password(), HotkeyTarget::siteArticleId()})
        if (key == targetKey(target))
            return target;
    const QStringList parts = key.split(QLatin1Char(' '));
    bool isNumber = false;
    const int number = parts.value(1).toInt(&isNumber);
    if (parts.size() != 2 || !isNumber)
        return std::nullopt;
    if (parts.first() == QLatin1String("clause") && number >= 1 && number <= 15)
        return HotkeyTarget::clause(number);
    if (parts.first() == QLatin1String("paragraph") && number >= 1 && number <= 3)
        return HotkeyTarget::paragraph(number);
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
        const QString site = m_sites->store().record().siteName;
        if (site.isEmpty())
            return;  // the memory is kept per site
        const QString page = FormMemory::pageOf(browser->url());
        FormFieldLocator::locateFocused(
            browser->page(),
            [self = QPointer<TFrmMain>(this), site, page, key = targetKey(target)](const QString& locator) {
                if (!self || locator.isEmpty())
                    return;
                FormMemory* memory = self->m_formMemory;
                const int known = int(memory->fieldsOf(site, page).size());
                // Said when the page learns a field, not at every paste.
                if (memory->remember(site, page, {locator, key}) > known)
                    self->showHint(tr("本页已学会 %1 栏的填法，以后按 F9 一次填好").arg(known + 1));
            });
    });
    connect(m_formFill, &FormFill::finished, this,
            [this](int filled, const QList<FormFill::Field>& missing, const QList<FormFill::Field>& empty) {
                QStringList parts{tr("已填写 %1 项，请检查后用网页上的按钮提交").arg(filled)};
                QStringList names;
                for (const FormFill::Field& field : missing)
                    names << tr("%1（%2）").arg(targetName(field.target), FormFieldLocator::describe(field.locator));
                if (!names.isEmpty())
                    parts << tr("本页找不到 %1 项：%2").arg(names.size()).arg(names.join(tr("、")));
                names.clear();
                for (const FormFill::Field& field : empty)
                    names << targetName(field.target);
                if (!names.isEmpty())
                    parts << tr("没有内容、未填：%1").arg(names.join(tr("、")));
                showHint(parts.join(tr("；")));
            });
    connect(m_formMemory, &FormMemory::writeFailed, this,
            [this](const QString& error) { showHint(tr("无法保存填表记忆：%1").arg(error)); });
    connect(&m_sites->store(), &SiteStore::siteRenamed, m_formMemory, &FormMemory::renameSite);
    connect(m_transfer, &DocumentTransfer::importFinished, m_formMemory, &FormMemory::reload);

    QToolButton* fillButton = addCornerButton(
        "BtnFormFill", tr("填表"), tr("按学过的填法一次填好本页的表单（F9），不提交；Shift+F9 忘记本页的填法"));
    connect(fillButton, &QToolButton::clicked, this, &TFrmMain::FillCurrentPage);

    connect(m_postRound, &PostRound::windowMade, this, [this](TFrmPostRound* round) {
        auto* forget = new QPushButton(tr("忘记本页填表"), round);
        forget->setObjectName(QStringLiteral("BtnForgetFormFill"));
        forget->setToolTip(tr("忘记当前网页学过的填法（Shift+F9）"));
        connect(forget, &QPushButton::clicked, this, [this, round] {
            ForgetCurrentPage();
            round->showMessage(m_layout.LblHint->text());
        });
        round->addButton(forget);
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
    const QString page = FormMemory::pageOf(browser->url());
    QList<FormFill::Field> fields;
    for (const FormMemory::Field& known : m_formMemory->fieldsOf(m_sites->store().record().siteName, page))
        if (const std::optional<HotkeyTarget> target = targetOfKey(known.target))
            fields << FormFill::Field{known.locator, *target};
    if (fields.isEmpty()) {
        showHint(tr("本页还没有学过填表：用热键把各栏粘贴一次，以后按 F9 一次填好"));
        return;
    }
    showHint(tr("正在填表……"));
    // The fill pastes article texts as hotkeys do: a submit after it is a post.
    for (const FormFill::Field& field : fields)
        if (field.target.isArticleText()) {
            noteArticlePaste(browser->page());
            break;
        }
    m_formFill->start(
        fields, [this, view = QPointer<TWebbrowser>(browser)](const QString& locator, std::function<void(bool)> done) {
            // Another tab now, or none: the rest of the fill has nowhere to go.
            if (!view || view != PageControl->CurBrowser() || !view->isVisible()) {
                done(false);
                return;
            }
            view->setFocus();  // the pasting keys go to the focused widget
            FormFieldLocator::focusAndSelect(view->page(), locator, std::move(done));
        });
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
