#include "SiteListPanel.h"

#include "InterfaceTexts.h"
#include "SiteButtonPicture.h"
#include "SiteStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* pictureButton(const char* name, const QString& hint, bool showHint, QStyle::StandardPixmap standIn,
                           QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    // Only the picture buttons under the list show their hints.
    if (showHint)
        button->setToolTip(hint);
    else
        button->setStatusTip(hint);
    setSiteButtonPicture(button, QLatin1String(name), standIn);
    // A picture without words: a screen reader names the button by its hint.
    if (button->accessibleName().isEmpty())
        button->setAccessibleName(hint);
    return button;
}

QAction* menuItem(const char* name, TextId text, QObject* parent)
{
    auto* action = new QAction(uiText(text), parent);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(uiText(text));
    action->setStatusTip(uiText(text));
    return action;
}

}  // namespace

SiteListPanel::SiteListPanel(SiteStore& store, QWidget* parent)
    : QGroupBox(uiText(TextId::SiteListCaption), parent), m_store(store)
{
    setObjectName(QStringLiteral("GbSiteList"));
    buildButtonBar();
    buildList();
    buildEditPanel();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(Panel3);
    layout->addWidget(LtSubmitUrl, 1);
    layout->addWidget(PnSiteEdit);
}

void SiteListPanel::buildButtonBar()
{
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(20);
    BtnAddURL = pictureButton("BtnAddURL", tr("新增一个网址信息"), false, QStyle::SP_FileDialogNewFolder, Panel3);
    BtnUpdateURL =
        pictureButton("BtnUpdateURL", tr("编辑一个网址信息"), false, QStyle::SP_FileDialogDetailedView, Panel3);
    BtnDeleteURL = pictureButton("BtnDeleteURL", tr("删除一个网址信息"), false, QStyle::SP_TrashIcon, Panel3);
    auto* bar = new QHBoxLayout(Panel3);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(1);
    for (QToolButton* button : {BtnAddURL, BtnUpdateURL, BtnDeleteURL}) {
        button->setFixedSize(20, 20);
        button->setIconSize(button->iconSize().boundedTo(QSize(18, 18)));
        bar->addWidget(button);
    }
    bar->addStretch();
    connect(BtnAddURL, &QToolButton::clicked, this, &SiteListPanel::addRequested);
    connect(BtnUpdateURL, &QToolButton::clicked, this, &SiteListPanel::updateRequested);
    connect(BtnDeleteURL, &QToolButton::clicked, this, &SiteListPanel::deleteRequested);
}

void SiteListPanel::buildList()
{
    LtSubmitUrl = new QListView(this);
    LtSubmitUrl->setObjectName(QStringLiteral("LtSubmitUrl"));
    LtSubmitUrl->setModel(m_store.model());
    LtSubmitUrl->setSelectionModel(m_store.selectionModel());
    LtSubmitUrl->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LtSubmitUrl->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One row height for all: thousands of sites lay out without measuring each.
    LtSubmitUrl->setUniformItemSizes(true);
    // The list shows no tooltip: its hint stays in the status tip and the "hint" property.
    LtSubmitUrl->setStatusTip(uiText(TextId::SiteListHint));
    LtSubmitUrl->setProperty("hint", uiText(TextId::SiteListHint));
    // A screen reader names the list by its group's caption and reads the hint.
    LtSubmitUrl->setAccessibleName(title());
    LtSubmitUrl->setAccessibleDescription(uiText(TextId::SiteListHint));
    LtSubmitUrl->setContextMenuPolicy(Qt::CustomContextMenu);
    LtSubmitUrl->installEventFilter(this);
    LtSubmitUrl->viewport()->installEventFilter(this);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* MnUp = menuItem("MnUp", TextId::MoveUp, PopupMenu1);
    QAction* UpDown = menuItem("UpDown", TextId::MoveDown, PopupMenu1);
    QAction* MnAddWebsite = menuItem("MnAddWebsite", TextId::AddWebsite, PopupMenu1);
    QAction* MnUpdateWebsite = menuItem("MnUpdateWebsite", TextId::UpdateWebsite, PopupMenu1);
    QAction* MnDeleteWebsite = menuItem("MnDeleteWebsite", TextId::DeleteWebsite, PopupMenu1);
    PopupMenu1->addActions({MnUp, UpDown, MnAddWebsite, MnUpdateWebsite, MnDeleteWebsite});
    connect(MnUp, &QAction::triggered, this, [this] { emit moveRequested(-1); });
    connect(UpDown, &QAction::triggered, this, [this] { emit moveRequested(1); });
    connect(MnAddWebsite, &QAction::triggered, this, &SiteListPanel::addRequested);
    connect(MnUpdateWebsite, &QAction::triggered, this, &SiteListPanel::updateRequested);
    connect(MnDeleteWebsite, &QAction::triggered, this, &SiteListPanel::deleteRequested);
    connect(LtSubmitUrl, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(LtSubmitUrl->viewport()->mapToGlobal(at)); });

    // A click or a keyboard move by the user makes the item current; the
    // store's own changes of the current item are not the user's.
    connect(m_store.selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_store.isUpdatingSelection())
            LtSubmitUrlClick();
    });
    // A click on the item that already was current selects it again (and
    // opens its page again), as a click in the list always does.
    connect(LtSubmitUrl, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == m_currentBeforePress)
            LtSubmitUrlClick();
    });
}

void SiteListPanel::buildEditPanel()
{
    PnSiteEdit = new QWidget(this);
    PnSiteEdit->setObjectName(QStringLiteral("PnSiteEdit"));
    PnSiteEdit->setFixedHeight(52);
    // Design-time hints of the picture buttons.
    BtnAddUrlBtn = pictureButton("BtnAddUrlBtn", tr("新增网址信息"), true, QStyle::SP_FileDialogNewFolder, PnSiteEdit);
    BtnUpdateASite =
        pictureButton("BtnUpdateASite", tr("修改网址信息"), true, QStyle::SP_FileDialogDetailedView, PnSiteEdit);
    BtnDeleteASite = pictureButton("BtnDeleteASite", tr("删除网址信息"), true, QStyle::SP_TrashIcon, PnSiteEdit);
    CbEditURL = new QCheckBox(uiText(TextId::EditCheckCaption), PnSiteEdit);
    CbEditURL->setObjectName(QStringLiteral("CbEditURL"));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (QToolButton* button : {BtnAddUrlBtn, BtnUpdateASite, BtnDeleteASite})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(PnSiteEdit);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(1);
    layout->addLayout(buttons);
    layout->addWidget(CbEditURL);

    connect(BtnAddUrlBtn, &QToolButton::clicked, this, &SiteListPanel::addRequested);
    connect(BtnUpdateASite, &QToolButton::clicked, this, &SiteListPanel::updateRequested);
    connect(BtnDeleteASite, &QToolButton::clicked, this, &SiteListPanel::deleteRequested);
    connect(CbEditURL, &QCheckBox::toggled, this, &SiteListPanel::credentialsRowToggled);
}

bool SiteListPanel::isCredentialsRowShown() const { return CbEditURL->isChecked(); }

void SiteListPanel::setCredentialsRowShown(bool shown) { CbEditURL->setChecked(shown); }

void SiteListPanel::focusList() { LtSubmitUrl->setFocus(); }

void SiteListPanel::LtSubmitUrlClick()
{
    emit siteClicked(m_inputModifiers.testAnyFlags(Qt::ControlModifier | Qt::ShiftModifier));
}

void SiteListPanel::LtSubmitUrlDblClick() { emit updateRequested(); }

bool SiteListPanel::LtSubmitUrlKeyDown(QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_inputModifiers = Qt::NoModifier;
        LtSubmitUrlClick();
        return true;
    case Qt::Key_Delete: emit deleteRequested(); return true;
    default: return false;
    }
}

bool SiteListPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LtSubmitUrl && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        m_inputModifiers = key->modifiers();
        return LtSubmitUrlKeyDown(key);
    }
    if (watched == LtSubmitUrl->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_inputModifiers = static_cast<QMouseEvent*>(event)->modifiers();
            m_currentBeforePress = m_store.currentPosition();
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            LtSubmitUrlDblClick();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}
