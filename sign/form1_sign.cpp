// The bus window's destination sign: stepping with the arrow keys, showing a
// list entry, and applying the sign folder to the list.
#include "app/form1.h"
#include "platform/pictures/picture.h"
#include "sign/frmbrowsedir.h"

#include <QLineEdit>
#include <QMessageBox>
#include <limits>

bool Form1::showSign(std::int32_t index)
{
    if (index < 0 || index > std::numeric_limits<std::int16_t>::max())
        return false;
    const auto entry = File1.list(static_cast<std::int16_t>(index));
    if (!entry)
        return false;
    const QString path = sign::picturePath(signFolderPath, *entry);
    if (path.isEmpty())
        return false;
    // Only the part inside Picture1 can be seen; the image still takes the whole size.
    const auto pic = platform::loadPicture(path, QRect(QPoint(0, 0), Picture1->size()));
    if (!pic || pic->isEmpty())
        return false;
    ImgDesiMaku->setPicture(*pic);
    return true;
}

void Form1::Picture1_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/)
{
    sign::completeFolderPath(signFolderPath);
    if (const auto pos = signStepper.keyDown(keyCode, static_cast<std::int16_t>(File1.listCount())))
        showSign(*pos);
}

namespace
{
// The folder messages: the text and an OK button, no icon.
void tell(QWidget* owner, const QString& text)
{
    platform::MessageBox box(QMessageBox::NoIcon, owner->windowTitle(), text, QMessageBox::Ok, owner);
    box.exec();
}
} // namespace

bool Form1::picDir()
{
    const auto listed = File1.setPath(signFolderPath);
    if (listed)
        return true;
    if (!listed.error().notFound) {
        tell(this, listed.error().message);
        return true;
    }
    tell(this, QStringLiteral("指定したパスが見つかりません。再度指定しなおしてください。"));
    MnuEditHkPic_Click();
    return false;
}

void Form1::MnuEditHkPic_Click()
{
    // Offered again from the open dialog's own OK: refill it, do not open another.
    if (browseDir_) {
        browseDir_->Text1->setText(signFolderPath);
        return;
    }
    frmBrowseDir dialog(*this);
    dialog.Text1->setText(signFolderPath);
    browseDir_ = &dialog;
    dialog.exec();
    browseDir_ = nullptr;
}
