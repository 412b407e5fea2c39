#include "doors/frmset.h"

#include "app/form1.h"
#include "platform/twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

frmSet::frmSet(Form1& bus)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      bus_(bus)
{
    setWindowTitle(QStringLiteral("設定パネル"));
    setFixedSize(tw::sizeToPixels(3945, 2565));

    FrameA = new QFrame(this);
    Check1 = new QCheckBox(FrameA);
    HScroll1 = new QScrollBar(Qt::Horizontal, FrameA);
    HScroll1->setRange(1, 30000);
    HScroll1->setValue(6000);
    lblMaeSpeed = new QLabel(FrameA);
    Check2 = new QCheckBox(FrameA);
    HScroll2 = new QScrollBar(Qt::Horizontal, FrameA);
    HScroll2->setRange(1, 30000);
    HScroll2->setValue(10000);
    lblNakaSpeed = new QLabel(FrameA);
    Frame2 = new QGroupBox(QStringLiteral("中扉動作"), FrameA);
    Frame2->hide();
    const char16_t* names[] = {u"両方", u"左", u"右"};
    for (int i = 0; i < 3; ++i)
        Option1[i] = new QRadioButton(QString::fromUtf16(names[i]), Frame2);
    Option1[0]->setChecked(true);
    Command3 = new QPushButton(QStringLiteral("バージョン情報"), this);
    Frame1 = new QFrame(this);
    Label1 = new QLabel(Frame1);
    for (int i = 0; i < 12; ++i)
        Command2[i] = new QPushButton(i < 10 ? QString::number(i) : QString::fromUtf16(i == 10 ? u"C" : u"設定"), Frame1);
    Command1 = new QPushButton(QStringLiteral("方向幕フォルダー"), Frame1);
    lblMaeSpeed->setNum(HScroll1->value());
    lblNakaSpeed->setNum(HScroll2->value());
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmSet::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &frmSet::HScroll2_Change);
}

void frmSet::showPanel() { show(); }

float frmSet::twLeft() const { return tw::fromPixels(frameGeometry().x()); }
float frmSet::twTop() const { return tw::fromPixels(frameGeometry().y()); }
void frmSet::setTwPosition(float left, float top) { move(tw::toPixels(left), tw::toPixels(top)); }

void frmSet::Check1_Click() { bus_.Check1_Click(); }
void frmSet::Check2_Click() { bus_.Check2_Click(); }
void frmSet::HScroll1_Change() { bus_.HScroll1_Change(); }
void frmSet::HScroll2_Change() { bus_.HScroll2_Change(); }
void frmSet::Command1_Click() { bus_.MnuEditHkPic_Click(); }
void frmSet::Command3_Click() { bus_.MnuHelpVer_Click(); }

void frmSet::closeEvent(QCloseEvent* e)
{
    // No close box: the window system's close keystroke keeps the panel and its values.
    e->ignore();
}
