#include "app/form1.h"

void Form1::wireSignboard() {}
void Form1::PicKanban_MouseDown(Qt::MouseButton, QPoint) {}
void Form1::PicKanban_DblClick() {}
void Form1::PicKanban_Resize() {}
void Form1::MnuViewKanban_Click() {}
void Form1::MnuViewWaku_Click() {}
void Form1::MnuSetKanban_Click() {}
void Form1::MnuKanbanReset_Click() {}
