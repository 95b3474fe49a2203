#include "TFrmPostRound.h"

#include "RoundModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

TFrmPostRound::TFrmPostRound(QWidget* parent) : QWidget(parent, Qt::Window), m_model(new RoundModel(this))
{
    setObjectName(QStringLiteral("FrmPostRound"));
    setWindowTitle(tr("发布进度"));
    resize(640, 560);

    m_article = new QLabel(this);
    m_article->setTextFormat(Qt::PlainText);
    m_count = new QLabel(this);
    m_teamState = new QLabel(this);
    m_teamState->setObjectName(QStringLiteral("LblTeamState"));
    m_teamState->setTextFormat(Qt::PlainText);
    m_teamState->hide();
    auto* heading = new QHBoxLayout;
    heading->addWidget(m_article, 1);
    heading->addWidget(m_teamState);
    heading->addWidget(m_count);

    m_filters = new QButtonGroup(this);
    auto* filterRow = new QHBoxLayout;
    const std::pair<RoundModel::Filter, QString> filters[] = {
        {RoundModel::Filter::All, tr("全部")},
        {RoundModel::Filter::NotYet, tr("未发布")},
        {RoundModel::Filter::Posted, tr("已发布")},
    };
    for (const auto& [filter, caption] : filters) {
        auto* button = new QRadioButton(caption, this);
        button->setChecked(filter == RoundModel::Filter::All);
        m_filters->addButton(button, int(filter));
        filterRow->addWidget(button);
    }
    filterRow->addStretch(1);
    connect(m_filters, &QButtonGroup::idClicked, this, [this](int id) {
        m_model->setFilter(RoundModel::Filter(id));
        showCurrentSite(m_currentPosition);
    });

    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // Fixed row heights: a list of ten thousand sites lays out at once.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(RoundModel::SiteColumn, 170);
    m_table->setColumnWidth(RoundModel::StateColumn, 130);
    m_table->setColumnWidth(RoundModel::TimeColumn, 130);
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != RoundModel::AddressColumn || m_model->postAddress(index.row()).isEmpty())
            emit siteChosen(m_model->positionOfRow(index.row()));
    });
    connect(m_table, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        const QString address = m_model->postAddress(index.row());
        if (index.column() == RoundModel::AddressColumn && !address.isEmpty())
            emit addressOpened(address);
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFrmPostRound::updateButtons);

    m_next = new QPushButton(tr("下一个站点"), this);
    m_next->setToolTip(tr("选中下一个还没有发布本文章的站点（F8）"));
    m_mark = new QPushButton(tr("标记为已发布"), this);
    m_unmark = new QPushButton(tr("取消标记"), this);
    connect(m_next, &QPushButton::clicked, this, &TFrmPostRound::nextSiteRequested);
    connect(m_mark, &QPushButton::clicked, this, [this] { emit markRequested(selectedPosition(), true); });
    connect(m_unmark, &QPushButton::clicked, this, [this] { emit markRequested(selectedPosition(), false); });
    auto* nextKey = new QShortcut(QKeySequence(Qt::Key_F8), this);
    connect(nextKey, &QShortcut::activated, this, &TFrmPostRound::nextSiteRequested);

    m_forgetForm = new QPushButton(tr("忘记本页填表"), this);
    m_forgetForm->setObjectName(QStringLiteral("BtnForgetFormFill"));
    m_forgetForm->setToolTip(tr("忘记当前网页学过的填法（Shift+F9）"));
    connect(m_forgetForm, &QPushButton::clicked, this, &TFrmPostRound::forgetFormRequested);
    m_forgetCredentialPairs = new QPushButton(tr("忘记密码粘贴许可"), this);
    m_forgetCredentialPairs->setObjectName(QStringLiteral("BtnForgetCredentialPairs"));
    m_forgetCredentialPairs->setToolTip(tr("再粘贴用户名或密码到别的站点时重新询问"));
    connect(m_forgetCredentialPairs, &QPushButton::clicked, this, &TFrmPostRound::forgetCredentialPairsRequested);

    m_continuous = new QCheckBox(tr("连续发布"), this);
    m_continuous->setObjectName(QStringLiteral("CbContinuousRound"));
    m_continuous->setToolTip(
        tr("发布后自动打开下一个未发布的站点并填好表单，您只需检查并按网页上的按钮提交（Shift+F8）"));
    connect(m_continuous, &QCheckBox::toggled, this, &TFrmPostRound::continuousToggled);
    auto* continuousKey = new QShortcut(QKeySequence(Qt::ShiftModifier | Qt::Key_F8), this);
    connect(continuousKey, &QShortcut::activated, m_continuous, &QCheckBox::toggle);

    // The round's own steps, then what the form memory and the credentials keep.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_next);
    buttons->addWidget(m_continuous);
    buttons->addStretch(1);
    buttons->addWidget(m_mark);
    buttons->addWidget(m_unmark);
    auto* memoryButtons = new QHBoxLayout;
    memoryButtons->addWidget(m_forgetForm);
    memoryButtons->addWidget(m_forgetCredentialPairs);
    memoryButtons->addStretch(1);
    m_team = new QPushButton(tr("团队…"), this);
    m_team->setObjectName(QStringLiteral("BtnTeam"));
    m_team->setToolTip(tr("与队友共用一台 PostgreSQL 服务器上的发布进度"));
    connect(m_team, &QPushButton::clicked, this, &TFrmPostRound::teamRequested);
    memoryButtons->addWidget(m_team);

    m_message = new QLabel(this);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addLayout(filterRow);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    layout->addLayout(memoryButtons);
    layout->addWidget(m_message);
    updateButtons();
}

void TFrmPostRound::showTeamState(const QString& text)
{
    m_teamState->setText(text);
    m_teamState->setToolTip(text);
    m_teamState->setVisible(!text.isEmpty());
}

void TFrmPostRound::showContinuous(bool on)
{
    const QSignalBlocker quiet(m_continuous);  // shown, not asked for again
    m_continuous->setChecked(on);
}

void TFrmPostRound::showRound(const QString& article, const QStringList& sites, const QHash<QString, PostEntry>& posts,
                              const QHash<QString, QString>& claims)
{
    m_hasArticle = !article.isEmpty();
    m_article->setText(article.isEmpty() ? tr("没有当前文章") : tr("文章：%1").arg(article));
    m_model->setRound(sites, posts, claims);
    updateCount();
    showCurrentSite(m_currentPosition);
    updateButtons();
}

void TFrmPostRound::updateCount()
{
    m_count->setText(tr("已发布 %1 / %2").arg(m_model->postedCount()).arg(m_model->siteCount()));
}

void TFrmPostRound::showCurrentSite(int position)
{
    m_currentPosition = position;
    const int row = m_model->rowOfPosition(position);
    if (row < 0) {
        m_table->clearSelection();
        return;
    }
    m_table->selectRow(row);
    m_table->scrollTo(m_model->index(row, 0));
}

void TFrmPostRound::showMessage(const QString& text) { m_message->setText(text); }

int TFrmPostRound::selectedPosition() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : m_model->positionOfRow(rows.first().row());
}

void TFrmPostRound::updateButtons()
{
    const int position = m_hasArticle ? selectedPosition() : -1;
    m_mark->setEnabled(position >= 0 && !m_model->isPosted(position));
    m_unmark->setEnabled(position >= 0 && m_model->isPosted(position));
}
