#include "app/form1.h"

void Form1::Check1_Click() {}
void Form1::Check2_Click() {}
void Form1::HScroll1_Change() {}
void Form1::HScroll2_Change() {}
