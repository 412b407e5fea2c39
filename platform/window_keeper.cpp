#include "platform/window_keeper.h"

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

// Application-wide: sees the state changes of every window.
class ModalKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::WindowStateChange || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->isMinimized() && w->windowModality() != Qt::NonModal) {
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
