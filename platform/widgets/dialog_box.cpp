#include "platform/widgets/dialog_box.h"

#include "platform/desktop/x11_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

namespace platform
{

DialogBox::DialogBox(QSize client, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(client);
}

void DialogBox::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // QDialog makes the first auto-default button the default when it is
        // shown, and a focused auto-default button takes Return itself.
        for (QPushButton* b : findChildren<QPushButton*>())
            b->setAutoDefault(false);
    }
    QDialog::setVisible(visible);
}

void DialogBox::showEvent(QShowEvent* e)
{
    if (!e->spontaneous()) {
        // Marked as placed, so that QDialog does not centre it: the window
        // manager then places it as it places any new window.
        setAttribute(Qt::WA_Moved);
        // Qt writes the icon while it maps the window, after this event.
        QMetaObject::invokeMethod(
            this, [this] { dropWindowIcon(this); }, Qt::QueuedConnection);
    }
    QDialog::showEvent(e);
}

void DialogBox::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

void MessageBox::keyPressEvent(QKeyEvent* e)
{
    if (!e->matches(QKeySequence::Copy)) {
        QMessageBox::keyPressEvent(e);
        return;
    }
    const QString line = QStringLiteral("---------------------------\n");
    QStringList buttonTexts;
    for (const QAbstractButton* b : buttons())
        buttonTexts << b->text();
    QGuiApplication::clipboard()->setText(line + windowTitle() + u'\n' + line + text() + u'\n' + line +
                                          buttonTexts.join(QStringLiteral("   ")) + u'\n' + line);
}

} // namespace platform
