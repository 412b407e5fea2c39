#include "about/frmshowversion.h"
#include "app/form1.h"

void Form1::MnuHelpVer_Click()
{
    // A fresh box for every opening, gone when it closes. No owner window:
    // the box is modal to the whole program.
    frmShowVersion box;
    box.Form_Load();
    box.exec();
}
