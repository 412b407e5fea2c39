#include "sign/frmbrowsedir.h"

#include "app/form1.h"
#include "doors/frmset.h"
#include "platform/core/twips.h"
#include "platform/widgets/folder_chooser.h"
#include "sign/sign_rules.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

template <typename W> W* place(W* w, const tw::Rect& r)
{
    w->setGeometry(tw::toPixels(r));
    return w;
}

} // namespace

frmBrowseDir::frmBrowseDir(Form1& bus)
    : platform::DialogBox(tw::sizeToPixels(6900, 1215), &bus.panel()), chooseFolder(&platform::chooseFolder),
      bus_(bus)
{
    setWindowTitle(QStringLiteral("画像の位置"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    // Created in layout order: the labels lie beneath the controls they touch.
    Label2 = place(new QLabel(QStringLiteral("方向幕のあるフォルダを指定してください"), this),
                   {135, 60, 3945, 225});
    Label1 = place(new QLabel(QStringLiteral("位置："), this), {75, 465, 885, 210});
    Text1 = place(new QLineEdit(this), {555, 405, 5070, 300});
    Command1 = place(new QPushButton(QStringLiteral("参照(&B)..."), this), {5655, 405, 1020, 345});
    Command2[0] = place(new QPushButton(QStringLiteral("OK"), this), {4200, 825, 1230, 345});
    Command2[1] = place(new QPushButton(QStringLiteral("キャンセル"), this), {5520, 825, 1230, 345});

    // Keyboard order: the text box, browse, OK, キャンセル.
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2[0]);
    setTabOrder(Command2[0], Command2[1]);
    Text1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &frmBrowseDir::Command1_Click);
    connect(Command2[0], &QPushButton::clicked, this, [this] { Command2_Click(0); });
    connect(Command2[1], &QPushButton::clicked, this, [this] { Command2_Click(1); });
}

void frmBrowseDir::Command1_Click()
{
    // Only the text box changes; nothing is stored before OK.
    const QString chosen = chooseFolder(&bus_, QStringLiteral("方向幕のあるフォルダを選択してください"));
    if (!chosen.isEmpty())
        Text1->setText(sign::browsedFolderText(chosen));
}

void frmBrowseDir::Command2_Click(std::int16_t index)
{
    if (index == 0) {
        // Stored as typed, even when it cannot be applied.
        bus_.signFolderPath = Text1->text();
        // A folder that is not found has been offered again: this dialog
        // stays open with the rejected text.
        if (!bus_.picDir())
            return;
    }
    done(index == 0 ? Accepted : Rejected);
}
