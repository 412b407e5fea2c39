#pragma once
// Acting inside a modal loop from a test: whenModal<W>(f) runs f on the
// modal window of type W as soon as one is on top. f must close it, or the
// loop that shows it never returns.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support
{

template <typename W> void whenModal(std::function<void(W*)> f, int timeoutMs = 5000)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            f(w);
            *poll = nullptr; // breaks the cycle
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            ADD_FAILURE() << "no modal " << W::staticMetaObject.className() << " appeared";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(10, qApp, *poll);
    };
    QTimer::singleShot(0, qApp, *poll);
}

} // namespace testing_support
