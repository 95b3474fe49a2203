#include "HeldPostsPrompt.h"

#include "InterfaceTexts.h"
#include "PostHistory.h"

#include <QMessageBox>
#include <QPushButton>

bool HeldPostsPrompt::storeAtExit(PostHistory& history, QWidget* parent)
{
    while (!history.storeHeldPosts()) {
        QMessageBox box(QMessageBox::Warning, InterfaceTexts::productName(),
                        tr("%1 条发布记录无法保存：%2").arg(history.heldCount()).arg(history.lastFailure()),
                        QMessageBox::Retry | QMessageBox::Discard, parent);
        // The reason names a file and a page address: plain text, never markup.
        box.setTextFormat(Qt::PlainText);
        box.setInformativeText(tr("数据库可能正被其他程序占用。重试，或者放弃这些记录并退出？"));
        box.button(QMessageBox::Retry)->setText(tr("重试"));
        box.button(QMessageBox::Discard)->setText(tr("放弃"));
        box.setDefaultButton(QMessageBox::Retry);
        box.setEscapeButton(QMessageBox::Discard);
        if (box.exec() != QMessageBox::Retry)
            return false;
    }
    return true;
}
