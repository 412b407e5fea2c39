#include "platform/window_keeper.h"

#include "platform/x11_window.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform
{

namespace
{

void unminimize(QWidget* w)
{
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
}

// Without a transient parent Qt makes a modal window transient for its hidden
// group leader, which some window managers take for no owner at all: they give
// the window a task-bar entry and let it fall behind the program's windows.
void keepWithOwner(QWidget* w)
{
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == w)
        owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    if (owner && owner->isVisible()) {
        w->winId();
        owner->winId();
        w->windowHandle()->setTransientParent(owner->windowHandle());
    }
    setSkipTaskbar(w);
}

// Application-wide: sees every window shown and its state changes.
class ModalKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if ((e->type() != QEvent::WindowStateChange && e->type() != QEvent::Show) || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || w->windowModality() == Qt::NonModal)
            return false;
        // Qt sends it after creating the native window and before mapping it.
        if (e->type() == QEvent::Show) {
            if (!e->spontaneous())
                keepWithOwner(w);
            return false;
        }
        if (w->isMinimized()) {
            // Once the window manager has finished minimising it.
            QMetaObject::invokeMethod(
                w,
                [w] {
                    if (w->isVisible() && w->isMinimized())
                        unminimize(w);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

// Application-wide too: a click may land on any child of the owner.
class CompanionKeeper : public QObject
{
public:
    CompanionKeeper(QWidget* companion, QWidget* owner)
        : QObject(companion), companion_(companion), owner_(owner)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::WindowStateChange:
        case QEvent::WindowActivate:
        case QEvent::MouseButtonPress:
            break;
        default:
            return false;
        }
        if (owner_ && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == owner_ &&
            !owner_->isMinimized() && companion_->isVisible() && companion_->isMinimized())
            unminimize(companion_);
        return false;
    }

private:
    QWidget* companion_;
    QPointer<QWidget> owner_;
};

} // namespace

void keepModalWindowsShown()
{
    static QPointer<ModalKeeper> keeper;
    if (!keeper) {
        keeper = new ModalKeeper(qApp);
        qApp->installEventFilter(keeper);
    }
}

void followOwner(QWidget* companion, QWidget* owner)
{
    if (!companion || !owner)
        return;
    companion->winId();
    owner->winId();
    companion->windowHandle()->setTransientParent(owner->windowHandle());
    qApp->installEventFilter(new CompanionKeeper(companion, owner));
}

} // namespace platform
