#include "TFrmVersion.h"

#include "AboutWord.h"
#include "FrameEdge.h"
#include "InterfaceTexts.h"
#include "OpenLocation.h"
#include "Pictures.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QColor WindowColour(0xF5, 0xFA, 0xFE);

QFont pixelFont(const QStringList& families, int pixels, bool bold = false)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// "黑体" with the CJK sans fonts a Linux desktop has instead.
QStringList blackFaceFamilies()
{
    return {QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("sans-serif")};
}

}  // namespace

TFrmVersion::TFrmVersion(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TFrmVersion"));
    setFixedSize(DesignWidth, DesignHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WindowColour);
    setPalette(pal);
    setFont(pixelFont(blackFaceFamilies(), 21));
    setWindowIcon(Pictures::applicationIcon());

    // The picture lies under everything, in window coordinates, so the places of
    // the version label, the link line and the button match the art.
    ImgAbout = new QLabel(this);
    ImgAbout->setObjectName(QStringLiteral("ImgAbout"));
    ImgAbout->setGeometry(0, 0, DesignWidth, DesignHeight);
    ImgAbout->setCursor(Qt::PointingHandCursor);
    ImgAbout->installEventFilter(this);
    buildFrame();

    LblVersion = new QLabel(this);
    LblVersion->setObjectName(QStringLiteral("LblVersion"));
    LblVersion->setFont(
        pixelFont({QStringLiteral("Book Antiqua"), QStringLiteral("Palatino Linotype"),
                   QStringLiteral("TeX Gyre Pagella"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")},
                  25, true));
    LblVersion->setStyleSheet(QStringLiteral("color: #1D5F8F; background: transparent;"));
    LblVersion->move(181, 59);

    Label5 = new QLabel(QString(20, QLatin1Char('_')), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(pixelFont(blackFaceFamilies(), 16));
    Label5->setStyleSheet(QStringLiteral("color: #2B7BB9; background: transparent;"));
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->move(126, 131);
    Label5->adjustSize();
    Label5->installEventFilter(this);

    BtnClose = new QPushButton(this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setGeometry(252, 205, 57, 26);
    BtnClose->setFlat(true);
    BtnClose->setFocusPolicy(Qt::TabFocus);
    BtnClose->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; }"));
    connect(BtnClose, &QPushButton::clicked, this, &TFrmVersion::BtnCloseClick);

    FormCreate();
}

void TFrmVersion::buildFrame()
{
    auto* top = new FrameEdge(FrameEdge::Top, this);
    top->setGeometry(0, 0, DesignWidth, FrameEdge::TopHeight);
    auto* bottom = new FrameEdge(FrameEdge::Bottom, this);
    bottom->setGeometry(0, DesignHeight - FrameEdge::BottomHeight, DesignWidth, FrameEdge::BottomHeight);
    const int sideHeight = DesignHeight - FrameEdge::TopHeight - FrameEdge::BottomHeight;
    auto* left = new FrameEdge(FrameEdge::Left, this);
    left->setGeometry(0, FrameEdge::TopHeight, FrameEdge::SideWidth, sideHeight);
    auto* right = new FrameEdge(FrameEdge::Right, this);
    right->setFixedWidth(14);  // this window's right edge is wider than the main window's
    right->setGeometry(DesignWidth - 14, FrameEdge::TopHeight, 14, sideHeight);
}

void TFrmVersion::FormCreate()
{
    LoadJpegPicture(ImgAbout, QStringLiteral("helpdoc"));
    LoadButtonPicture(BtnClose, QStringLiteral("BtnClose"));
    if (BtnClose->icon().isNull())  // no picture: a plain face with the word instead
        BtnClose->setText(QStringLiteral("×"));
    setWindowTitle(aboutWord() + QLatin1Char(' ') + InterfaceTexts::productName());
    LblVersion->setText(InterfaceTexts::versionText());
    LblVersion->adjustSize();
    ImgAbout->setToolTip(uiText(TextId::AboutPictureHint));
}

void TFrmVersion::BtnCloseClick() { close(); }

bool TFrmVersion::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == ImgAbout || watched == Label5) && event->type() == QEvent::MouseButtonPress) {
        OpenLocation(InterfaceTexts::homePageAddress());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmVersion::keyPressEvent(QKeyEvent* event)
{
    // Esc dismisses the about window like any small information window.
    if (event->key() == Qt::Key_Escape) {
        BtnCloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}
