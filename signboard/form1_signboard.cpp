// The signboard on the bus: its frame, the drag, and the pop-up menu's commands.
#include "app/form1.h"

#include "platform/pictures/picture.h"
#include "platform/widgets/child_drag.h"
#include "platform/widgets/file_open_dialog.h"
#include "signboard/frame_geometry.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

using platform::TwipPictureBox;

void Form1::wireSignboard()
{
    PicKanban->setBackground(Qt::white);
    PicKanban->setAutoSize(true);
    connect(PicKanban, &TwipPictureBox::mousePressed, this, &Form1::PicKanban_MouseDown);
    connect(PicKanban, &TwipPictureBox::doubleClicked, this, &Form1::PicKanban_DblClick);
    connect(PicKanban, &TwipPictureBox::resized, this, &Form1::PicKanban_Resize);
    connect(MnuViewKanban, &QAction::triggered, this, &Form1::MnuViewKanban_Click);
    connect(MnuViewWaku, &QAction::triggered, this, &Form1::MnuViewWaku_Click);
    connect(MnuSetKanban, &QAction::triggered, this, &Form1::MnuSetKanban_Click);
    connect(MnuKanbanReset, &QAction::triggered, this, &Form1::MnuKanbanReset_Click);
}

void Form1::PicKanban_MouseDown(Qt::MouseButton button, QPoint pos)
{
    if (button == Qt::LeftButton)
        platform::beginChildDrag(PicKanban, pos);
    else if (button == Qt::RightButton)
        MnuTempMenu1->exec(QCursor::pos());
}

void Form1::PicKanban_DblClick()
{
    for (int i = 0; i < 3; ++i)
        shpK_Waku[i]->moveTw(signboard::refitPiece(i, PicKanban->twRect(), shpK_Waku[i]->twRect()));
}

void Form1::PicKanban_Resize()
{
    for (int i = 0; i < 3; ++i)
        shpK_Waku[i]->moveTw(signboard::followPiece(i, PicKanban->twRect(), shpK_Waku[i]->twRect()));
}

// The menu item has already flipped its own check mark when this runs; the
// new state comes from the visibility, which the check mark always equals.
void Form1::MnuViewKanban_Click()
{
    const bool show = PicKanban->isHidden();
    PicKanban->setVisible(show);
    MnuViewKanban->setChecked(show);
}

void Form1::MnuViewWaku_Click()
{
    const bool show = !shpK_Waku[0]->isVisible();
    for (auto& s : shpK_Waku)
        s->setVisible(show);
    PicKanban_DblClick();
    MnuViewWaku->setChecked(show);
}

// A cancelled dialog, or a picture that cannot be set, leaves everything as
// it was, silently.
void Form1::MnuSetKanban_Click()
{
    if (!C_Dialog1->show(this))
        return;
    const QString path = C_Dialog1->fileName();
    // Only the part inside the window can ever be seen.
    const auto pic = platform::loadPicture(path, QRect(QPoint(0, 0), size()));
    if (!pic || pic->isEmpty())
        return;
    PicKanban->setPicture(*pic);
    kanbanPicturePath = path;
    PicKanban_DblClick();
}

void Form1::MnuKanbanReset_Click()
{
    PicKanban->setPicture(platform::loadPicture(QString()).value_or(platform::Picture{}));
    PicKanban->moveTw({7425, 1665, 1410, 450});
    PicKanban_DblClick();
}
