#include "platform/desktop/window_keeper.h"

#include "platform/core/screen_place.h"
#include "platform/desktop/x11_window.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

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

std::vector<QRect> usableAreas()
{
    std::vector<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens())
        areas.push_back(s->availableGeometry());
    return areas;
}

// Applies reachablePlace to one top-level window: to the place it was given,
// before and once more after the window manager has framed it, and to where it
// is whenever a screen has gone or lost some of its area.
class ReachableKeeper : public QObject
{
public:
    explicit ReachableKeeper(QWidget* w) : QObject(w), window_(w), asked_(w->pos())
    {
        // Unframed, the client area stands where the frame will; its title bar is not known.
        placed_ = reachablePlace(QRect(asked_, w->size()), 0, usableAreas()).topLeft();
        if (placed_ != asked_)
            w->move(placed_);
        w->installEventFilter(this);
        for (QScreen* s : QGuiApplication::screens())
            watch(s);
        connect(qGuiApp, &QGuiApplication::screenAdded, this, &ReachableKeeper::watch);
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen* s) {
            areas_.remove(s);
            placeSoon();
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (!framed_ && e->type() == QEvent::Move && margins().top() > 0) {
            framed_ = true;
            placeFramed();
        }
        return false;
    }

private:
    QMargins margins() const
    {
        const QWindow* h = window_->windowHandle();
        return h ? h->frameMargins() : QMargins();
    }
    QSize outerSize() const { return window_->size().grownBy(margins()); }
    // Judges the outer frame at `from`; asks for a move when it should stand elsewhere.
    void place(const QPoint& from)
    {
        const QPoint to = reachablePlace(QRect(from, outerSize()), margins().top(), usableAreas()).topLeft();
        if (to != framePosition(window_))
            askFramePosition(window_, to);
    }
    // Once the frame is known, the place asked for is judged again with it,
    // where the window manager left the window there; also where it pulled a
    // window asked for partly off the screens wholly onto one, as some do with
    // every new window. A place of its own choosing (a session it restored) is
    // only judged.
    void placeFramed()
    {
        const std::vector<QRect> areas = usableAreas();
        const auto whollyOnOne = [&areas](const QRect& r) {
            return std::any_of(areas.begin(), areas.end(), [&r](const QRect& a) { return a.contains(r); });
        };
        const QPoint now = framePosition(window_);
        const bool pulledIn =
            !whollyOnOne(QRect(asked_, outerSize())) && whollyOnOne(QRect(now, outerSize()));
        place(now == placed_ || pulledIn ? asked_ : now);
    }
    void watch(QScreen* s)
    {
        areas_.insert(s, s->availableGeometry());
        connect(s, &QScreen::availableGeometryChanged, this, [this, s](const QRect& now) {
            if (!now.contains(areas_.value(s)))
                placeSoon();
            areas_.insert(s, now);
        });
    }
    // Once the screens have settled: a removal and a shrink come as several signals.
    void placeSoon()
    {
        if (pending_)
            return;
        pending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                pending_ = false;
                place(framePosition(window_));
            },
            Qt::QueuedConnection);
    }

    QWidget* window_;
    QPoint asked_, placed_;
    bool framed_ = false;
    bool pending_ = false;
    QHash<const QScreen*, QRect> areas_;
};

} // namespace

void keepReachable(QWidget* w)
{
    if (w)
        new ReachableKeeper(w);
}

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
