#include "app/form1.h"
#include "doors/frmset.h"

#include <QLabel>
#include <QScrollBar>

void Form1::Check1_Click() {}
void Form1::Check2_Click() {}
void Form1::HScroll1_Change() { panel().lblMaeSpeed->setNum(panel().HScroll1->value()); }
void Form1::HScroll2_Change() { panel().lblNakaSpeed->setNum(panel().HScroll2->value()); }
