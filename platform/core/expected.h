#pragma once

// How every operation that can fail says why: a value, or the reason there is
// none. Shaped like C++23's std::expected and std::unexpected (which clang 14
// cannot compile yet), so that it can become them by a rename.

#include <QString>
#include <utility>
#include <variant>

namespace platform
{

template <class E> class Unexpected
{
public:
    explicit Unexpected(E error) : error_(std::move(error)) {}
    const E& error() const& { return error_; }
    E&& error() && { return std::move(error_); }

private:
    E error_;
};

// The failure of an operation, with a reason a user can read.
inline Unexpected<QString> failure(QString reason)
{
    return Unexpected<QString>(std::move(reason));
}

template <class T, class E = QString> class Expected
{
public:
    Expected(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Expected(Unexpected<E> failed) : v_(std::in_place_index<1>, std::move(failed).error()) {}

    bool has_value() const { return v_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    const T& value() const& { return std::get<0>(v_); }
    T& value() & { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    template <class U> T value_or(U&& otherwise) const&
    {
        return has_value() ? value() : static_cast<T>(std::forward<U>(otherwise));
    }

    const E& error() const& { return std::get<1>(v_); }
    template <class G> E error_or(G&& otherwise) const&
    {
        return has_value() ? static_cast<E>(std::forward<G>(otherwise)) : error();
    }

private:
    std::variant<T, E> v_;
};

template <class E> class Expected<void, E>
{
public:
    Expected() = default;
    Expected(Unexpected<E> failed) : error_(std::move(failed).error()), failed_(true) {}

    bool has_value() const { return !failed_; }
    explicit operator bool() const { return has_value(); }
    const E& error() const& { return error_; }
    template <class G> E error_or(G&& otherwise) const&
    {
        return has_value() ? static_cast<E>(std::forward<G>(otherwise)) : error_;
    }

private:
    E error_{};
    bool failed_ = false;
};

} // namespace platform
