#include "ArticleListPanel.h"

#include "ArticleFont.h"
#include "ArticleStore.h"
#include "InterfaceTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "Pictures.h"

#include <QCoreApplication>

namespace {

// Design-time hints of the buttons that show one (the window layout's own
// texts, not run-time texts).
const char* const AddHint = QT_TRANSLATE_NOOP("ArticleListPanel", "新增文章内容");
const char* const UpdateHint = QT_TRANSLATE_NOOP("ArticleListPanel", "编辑文章内容");
const char* const UpdateContHint = QT_TRANSLATE_NOOP("ArticleListPanel", "修改文章内容");
const char* const DeleteHint = QT_TRANSLATE_NOOP("ArticleListPanel", "删除文章内容");
const char* const SaveHint = QT_TRANSLATE_NOOP("ArticleListPanel", "直接保存右边文章内容中的修改");
const char* const EditHint = QT_TRANSLATE_NOOP("ArticleListPanel", "显示右边的文章内容");
const char* const HelpDocHint = QT_TRANSLATE_NOOP("ArticleListPanel", "帮助文档");

QToolButton* smallButton(const char* name, QStyle::StandardPixmap icon, const char* hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    LoadButtonPicture(button, QLatin1String(name), icon);
    button->setAutoRaise(true);
    button->setFixedSize(22, 22);
    button->setToolTip(QCoreApplication::translate("ArticleListPanel", hint));
    // A picture without words: a screen reader names the button by its hint.
    button->setAccessibleName(button->toolTip());
    return button;
}

QToolButton* pictureButton(const char* name, const char* hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    if (hint)
        button->setToolTip(QCoreApplication::translate("ArticleListPanel", hint));
    LoadButtonPicture(button, button->objectName());
    return button;
}

}  // namespace

ArticleListPanel::ArticleListPanel(ArticleStore& store, QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("GbArticleList"));
    setTitle(uiText(TextId::ArticleListCaption));
    // 302 high at the start (the window sets the splitter so); the border to
    // the site list moves, down to what the button rows need.
    setMinimumHeight(150);

    Panel4 = new QWidget(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedHeight(24);
    BtnAddArticle = smallButton("BtnAddArticle", QStyle::SP_FileIcon, AddHint, Panel4);
    BtnUpdateArticle = smallButton("BtnUpdateArticle", QStyle::SP_FileDialogDetailedView, UpdateHint, Panel4);
    BtnDeleteArticle = smallButton("BtnDeleteArticle", QStyle::SP_TrashIcon, DeleteHint, Panel4);
    BtnSaveArticleContent = smallButton("BtnSaveArticleContent", QStyle::SP_DialogSaveButton, SaveHint, Panel4);
    CbIhEdit = new QCheckBox(uiText(TextId::EditCheckCaption), Panel4);
    CbIhEdit->setObjectName(QStringLiteral("CbIhEdit"));
    CbIhEdit->setToolTip(tr(EditHint));
    auto* row = new QHBoxLayout(Panel4);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (QWidget* w : {static_cast<QWidget*>(BtnAddArticle), static_cast<QWidget*>(BtnUpdateArticle),
                       static_cast<QWidget*>(BtnDeleteArticle), static_cast<QWidget*>(BtnSaveArticleContent)})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(CbIhEdit);

    LbArticleName = new QListView(this);
    LbArticleName->setObjectName(QStringLiteral("LbArticleName"));
    LbArticleName->setFont(articleFont());
    LbArticleName->setModel(store.model());
    LbArticleName->setSelectionModel(store.selectionModel());
    LbArticleName->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LbArticleName->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One row height for all: thousands of names lay out without measuring each.
    LbArticleName->setUniformItemSizes(true);
    LbArticleName->installEventFilter(this);
    LbArticleName->setAccessibleName(title());  // a screen reader names the list by its group's caption

    PnlArticle = new QWidget(this);
    PnlArticle->setObjectName(QStringLiteral("PnlArticle"));
    PnlArticle->setFixedHeight(84);
    BtnAddArticle2 = pictureButton("BtnAddArticle2", AddHint, PnlArticle);
    BtnUpdateArticleCont = pictureButton("BtnUpdateArticleCont", UpdateContHint, PnlArticle);
    BtnDeleteArticleCont = pictureButton("BtnDeleteArticleCont", DeleteHint, PnlArticle);
    BtnIHExport = pictureButton("BtnIHExport", nullptr, PnlArticle);
    BtnIHImport = pictureButton("BtnIHImport", nullptr, PnlArticle);
    BtnIHHelpDoc = pictureButton("BtnIHHelpDoc", HelpDocHint, PnlArticle);
    auto* grid = new QGridLayout(PnlArticle);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    const QToolButton* order[] = {BtnAddArticle2, BtnUpdateArticleCont, BtnDeleteArticleCont,
                                  BtnIHExport,    BtnIHImport,          BtnIHHelpDoc};
    for (int k = 0; k < 6; ++k)
        grid->addWidget(const_cast<QToolButton*>(order[k]), k / 3, k % 3);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(Panel4);
    layout->addWidget(LbArticleName, 1);
    layout->addWidget(PnlArticle);

    connect(LbArticleName, &QListView::clicked, this, &ArticleListPanel::articleClicked);
    connect(LbArticleName, &QListView::doubleClicked, this, &ArticleListPanel::articleDoubleClicked);
    for (QToolButton* add : {BtnAddArticle, BtnAddArticle2})
        connect(add, &QToolButton::clicked, this, &ArticleListPanel::addRequested);
    for (QToolButton* update : {BtnUpdateArticle, BtnUpdateArticleCont})
        connect(update, &QToolButton::clicked, this, &ArticleListPanel::updateRequested);
    for (QToolButton* remove : {BtnDeleteArticle, BtnDeleteArticleCont})
        connect(remove, &QToolButton::clicked, this, &ArticleListPanel::deleteRequested);
    connect(BtnSaveArticleContent, &QToolButton::clicked, this, &ArticleListPanel::saveRequested);
    connect(CbIhEdit, &QCheckBox::clicked, this, &ArticleListPanel::contentPanelToggled);
    connect(BtnIHExport, &QToolButton::clicked, this, &ArticleListPanel::exportRequested);
    connect(BtnIHImport, &QToolButton::clicked, this, &ArticleListPanel::importRequested);
    connect(BtnIHHelpDoc, &QToolButton::clicked, this, &ArticleListPanel::helpRequested);
}

bool ArticleListPanel::isContentPanelShown() const { return CbIhEdit->isChecked(); }

void ArticleListPanel::showContentPanel()
{
    if (!CbIhEdit->isChecked())
        CbIhEdit->click();
}

void ArticleListPanel::setContentPanelShown(bool shown) { CbIhEdit->setChecked(shown); }

void ArticleListPanel::focusList() { LbArticleName->setFocus(); }

bool ArticleListPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LbArticleName && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit articleClicked();
            return true;
        }
        if (key == Qt::Key_Delete) {
            emit deleteRequested();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}
