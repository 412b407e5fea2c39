#include "doors/frmset.h"

#include "app/form1.h"
#include "platform/twips.h"

frmSet::frmSet(Form1& bus)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      bus_(bus)
{
    setWindowTitle(QStringLiteral("設定パネル"));
    setFixedSize(tw::sizeToPixels(3945, 2565));
}

void frmSet::showPanel() { show(); }
