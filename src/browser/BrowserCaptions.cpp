#include "BrowserCaptions.h"

#include "InterfaceTexts.h"

#include <QCoreApplication>
#include <QTextDocument>

namespace {
constexpr int WholeTitleLimit = 10;
constexpr int CutTitleLength = 11;
}  // namespace

QString NewBrowserCaption() { return QCoreApplication::translate("BrowserCaptions", "New Browser"); }

QString BlankPageAddress() { return QStringLiteral("about:blank"); }

QString TabCaptionForTitle(const QString& title)
{
    if (title.size() <= WholeTitleLimit)
        return title;
    qsizetype cut = CutTitleLength;
    // Never split a surrogate pair: half a character would show as a replacement box.
    if (title.at(cut - 1).isHighSurrogate() && cut < title.size() && title.at(cut).isLowSurrogate())
        ++cut;
    return title.left(cut) + QStringLiteral("...");
}

QString BaseWindowCaption()
{
    // "%s%1.1f": the product name immediately followed by the version, no blank.
    return InterfaceTexts::productName() + QString::number(InterfaceTexts::versionNumber(), 'f', 1);
}

QString WindowCaptionForTitle(const QString& title) { return BaseWindowCaption() + QStringLiteral(" - ") + title; }

QString PlainTextToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<qt>%1</qt>").arg(text.toHtmlEscaped());
}
