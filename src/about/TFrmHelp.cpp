#include "TFrmHelp.h"

#include "AboutWord.h"
#include "FrameEdge.h"
#include "HelpFallback.h"
#include "HelpView.h"
#include "InterfaceTexts.h"
#include "Pictures.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>

namespace {

const char* const WindowColour = "#F5FAFE";
const char* const StripColour = "#F5FEFA";
constexpr int StripHeight = 41;

}  // namespace

TFrmHelp::TFrmHelp(QWidget* owner) : QWidget(owner, Qt::Window), m_helpAddress(InterfaceTexts::onlineHelpAddress())
{
    setObjectName(QStringLiteral("TFrmHelp"));
    resize(964, 756);
    setWindowIcon(Pictures::applicationIcon());
    setStyleSheet(QStringLiteral("TFrmHelp { background: %1; }").arg(QLatin1String(WindowColour)));
    setAttribute(Qt::WA_StyledBackground);

    WebBrowser1 = new HelpView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("PnlBottomStrip"));
    strip->setFixedHeight(StripHeight);
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setStyleSheet(QStringLiteral("#PnlBottomStrip { background: %1; }").arg(QLatin1String(StripColour)));
    BtnClose = new QPushButton(strip);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setFixedSize(57, 26);
    BtnClose->setFlat(true);
    BtnClose->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; }"));
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(0, 0, 16, 0);
    stripRow->addStretch();
    stripRow->addWidget(BtnClose);
    connect(BtnClose, &QPushButton::clicked, this, &TFrmHelp::BtnCloseClick);

    // Frame edges round the browser and the strip, as in the main window.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(new FrameEdge(FrameEdge::Top, this), 0, 0, 1, 3);
    grid->addWidget(new FrameEdge(FrameEdge::Left, this), 1, 0, 2, 1);
    grid->addWidget(WebBrowser1, 1, 1);
    grid->addWidget(strip, 2, 1);
    grid->addWidget(new FrameEdge(FrameEdge::Right, this), 1, 2, 2, 1);
    grid->addWidget(new FrameEdge(FrameEdge::Bottom, this), 3, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    FormCreate();
}

void TFrmHelp::FormCreate()
{
    LoadButtonPicture(BtnClose, QStringLiteral("BtnClose"));
    if (BtnClose->icon().isNull())
        BtnClose->setText(QStringLiteral("×"));
    //: The help window's caption: the about word, then the product's name, run
    //: together in Chinese; a language that separates its words puts a space.
    setWindowTitle(tr("%1%2").arg(aboutWord(), InterfaceTexts::productName()));
}

void TFrmHelp::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())  // shown by the program, not restored from the taskbar
        FormShow();
}

void TFrmHelp::FormShow() { showHelpWithFallback(WebBrowser1, m_helpAddress); }

void TFrmHelp::BtnCloseClick() { close(); }
