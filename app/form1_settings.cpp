// Start-up and shut-down of the settings (placeholder until the settings file
// lands): start-up applies the defaults.
#include "app/form1.h"
#include "doors/frmset.h"

void Form1::LoadIni()
{
    setTwPosition(0, 0);
    MnuKanbanReset_Click();
}

void Form1::SaveIni() {}
