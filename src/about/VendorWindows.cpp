#include "VendorWindows.h"

#include "InterfaceTexts.h"
#include "TFrmHelp.h"
#include "TFrmVersion.h"

VendorWindows::VendorWindows(QWidget* owner)
    : QObject(owner), m_owner(owner), m_helpAddress(InterfaceTexts::onlineHelpAddress())
{
}

VendorWindows::~VendorWindows()
{
    // Without an owner the windows are ours to free.
    if (!m_owner) {
        delete m_about;
        delete m_help;
    }
}

TFrmVersion* VendorWindows::showAbout()
{
    if (!m_about)
        m_about = new TFrmVersion(m_owner);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
    return m_about;
}

TFrmHelp* VendorWindows::showHelp()
{
    if (!m_help) {
        m_help = new TFrmHelp(m_owner);
        m_help->setHelpAddress(m_helpAddress);
    }
    // Each show loads the help page; a window already open is only brought forward.
    m_help->showMaximized();
    m_help->raise();
    m_help->activateWindow();
    return m_help;
}

TFrmVersion* VendorWindows::aboutWindow() const { return m_about; }

TFrmHelp* VendorWindows::helpWindow() const { return m_help; }

void VendorWindows::setHelpAddress(const QString& address)
{
    m_helpAddress = address;
    if (m_help)
        m_help->setHelpAddress(address);
}
