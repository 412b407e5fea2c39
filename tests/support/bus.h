#pragma once
// What the tests of the windows need: the windows, the helpers for files and
// modal loops, and the Qt classes of their controls.
#include "about/frmshowversion.h"
#include "app/form1.h"
#include "doors/frmset.h"
#include "sign/frmbrowsedir.h"
#include "tests/support/files.h"
#include "tests/support/modal.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
