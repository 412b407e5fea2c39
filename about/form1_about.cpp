#include "about/frmshowversion.h"
#include "app/form1.h"
#include "doors/frmset.h"

void Form1::MnuHelpVer_Click()
{
    // A fresh box for every opening, gone when it closes; modal to the whole
    // program, and a window of the panel's, where it is opened from.
    frmShowVersion box(&panel());
    box.Form_Load();
    box.exec();
}
