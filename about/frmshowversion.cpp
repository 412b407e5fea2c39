#include "about/frmshowversion.h"

#include "about/maker_link.h"
#include "assets/assets.h"
#include "platform/core/twips.h"
#include "platform/files/exe_info.h"
#include "platform/widgets/twip_widgets.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace
{

const QColor grey(78, 78, 78);
const QColor yellow(255, 255, 0);
const QColor white(255, 255, 255);
const QColor blue(0, 0, 255);

QFont gothic(qreal points, bool bold = false, bool underline = false)
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

QLabel* label(QWidget* parent, const tw::Rect& r, const QString& text, const QColor& fore,
              std::optional<QColor> back)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(tw::toPixels(r));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, fore);
    if (back) {
        p.setColor(QPalette::Window, *back);
        l->setAutoFillBackground(true);
    }
    l->setPalette(p);
    return l;
}

} // namespace

frmShowVersion::frmShowVersion(QWidget* parent) : platform::DialogBox(tw::sizeToPixels(4995, 3345), parent)
{
    setWindowTitle(QStringLiteral("クルリナのバージョン情報"));
    setFont(gothic(9));
    QPalette p = palette();
    p.setColor(QPalette::Window, white);
    setPalette(p);
    setAutoFillBackground(true);

    Image1 = new platform::TwipImage(this, false);
    Image1->setPicture(platform::pictureFromImage(assets::appIconImage()));
    Image1->moveTw({285, 165, 480, 480});
    Label1[0] = label(this, {900, 240, 3840, 330}, QStringLiteral("クルリナ"), yellow, grey);
    Label1[0]->setFont(gothic(14.25, true));
    Label1[1] = label(this, {165, 720, 4605, 270}, {}, yellow, grey);
    Label1[1]->setFont(gothic(9.75, true));
    Label2 = label(this, {165, 1035, 3225, 225}, QStringLiteral("Varsion　" KURURINA_VERSION), yellow, grey);
    // Credits: a fictional workshop and its licence note.
    Label3[0] =
        label(this, {165, 1290, 3225, 240}, QStringLiteral("制作　カナロ玩具工房　2026年"), white, grey);
    Label3[1] =
        label(this, {165, 1545, 3225, 240}, QStringLiteral("開発　ひばり台工作室　2025-2026年"), white, grey);
    Label3[2] = label(this, {150, 1860, 4650, 885},
                      QStringLiteral("車両「まちかど号」は許諾を得て制作しました。\n"
                                     "実在の車両・団体とは関係ありません。\n"
                                     "許諾：まちかど号製作委員会"),
                      white, grey);
    Label4 = label(this, {15, 2835, 4965, 60}, {}, grey, grey);
    Label5 = label(this, {240, 2985, 3315, 225}, QStringLiteral("ここをクリックするとカナロHPが開きます。"),
                   blue, std::nullopt);
    Label5->setFont(gothic(9, false, true));
    Label5->setCursor(assets::linkCursor());
    Label5->installEventFilter(this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setGeometry(tw::toPixels(tw::Rect{3570, 2940, 1230, 345}));
    connect(Command1, &QPushButton::clicked, this, &frmShowVersion::Command1_Click);
    Command1->setFocus();
}

void frmShowVersion::Form_Load()
{
    Label1[1]->setText(QStringLiteral("型番・製造番号：") + platform::exeName());
}

void frmShowVersion::Label5_Click()
{
    const auto address = about::askMakerLibrary(platform::exeFolder());
    if (!address) {
        platform::MessageBox box(QMessageBox::Critical, QStringLiteral("Kanhpurl.dllのエラー"),
                                 about::failureMessage(address.error()), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    // Whether the desktop could open it is not our concern.
    QDesktopServices::openUrl(QUrl::fromUserInput(*address));
}

void frmShowVersion::Command1_Click()
{
    hide();
    accept();
}

bool frmShowVersion::eventFilter(QObject* watched, QEvent* e)
{
    // A click: left button pressed on the link and released over it.
    if (watched == Label5 && e->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton && Label5->rect().contains(m->position().toPoint())) {
            Label5_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}
