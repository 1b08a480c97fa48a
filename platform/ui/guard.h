#pragma once

#include <QString>

#include <concepts>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace ui {

// The one answer to an error that escapes whatever the user started: the data layer throws by
// design, and Qt's widget code is built without unwinding cleanups, so an error must never pass
// through it. Every handler that Qt runs (a slot, an event handler) runs through RunHandler,
// which catches; the shell runs its own commands through RunGuarded. The error is logged,
// shown, and the program goes on. ui::Application catches as a last net, for a handler that
// was not guarded.

// Where errors are logged (the program installs the error log); without one they are only shown.
void SetErrorLog(std::function<void(const QString& line)> log);

// The text of the exception being handled ("unknown error" for one that carries none); call it
// only inside a catch block.
QString CurrentExceptionText();

// Logs and shows the exception being handled, so call it only inside a catch block. The message
// reads "An error occurred in <where>." ("An error occurred." for an empty where) over the
// error's own text; the log line starts with logAs, or with where when logAs is empty. While one
// of these messages is on screen a further error is logged only: an error that every repaint
// or mouse move raises again must not stack up message boxes.
void ReportCurrentException(const QString& where, const QString& logAs = QString());

namespace guard_detail {

// Takes the errors of the handlers that Qt runs while it is alive, when our own code, not the
// event loop, made the call into Qt that ran them: they are thrown again in that code, once Qt
// has returned to it, as if the handler had been called directly.
class Carrier {
public:
    Carrier() noexcept;
    ~Carrier();
    Carrier(const Carrier&) = delete;
    Carrier& operator=(const Carrier&) = delete;

    void RethrowCarried();

private:
    friend void HandlerFailed(std::exception_ptr error) noexcept;
    std::exception_ptr mError;
    Carrier* mOuter;
};

// While alive, handlers tell the user of their own errors: the event loop is delivering an
// event, and nothing of ours is waiting on the other side of Qt for what the handler met.
class EventBoundary {
public:
    EventBoundary() noexcept;
    ~EventBoundary();
    EventBoundary(const EventBoundary&) = delete;
    EventBoundary& operator=(const EventBoundary&) = delete;

private:
    Carrier* mOuter;
};

// Hands a handler's error to the nearest Carrier, or reports it when there is none.
void HandlerFailed(std::exception_ptr error) noexcept;

} // namespace guard_detail

// Runs one handler that Qt calls: no error leaves it. An error it meets goes back to our code
// that made the call into Qt (see CallThroughQt), or else is reported as above; a worksheet
// that the error left half shown has been dropped where the switch failed (SwitchShownObject).
// False when the handler failed.
template <class F> bool RunHandler(F&& handler) noexcept
{
    std::exception_ptr error;
    {
        guard_detail::Carrier carrier;
        try {
            std::forward<F>(handler)();
            carrier.RethrowCarried();
        } catch (...) {
            error = std::current_exception();
        }
    }
    if (!error)
        return true;
    guard_detail::HandlerFailed(std::move(error));
    return false;
}

// Makes a call into Qt that may run guarded handlers (a list entry or a grid cell chosen by
// the program): an error one of them met comes out of here.
template <class F> void CallThroughQt(F&& call)
{
    guard_detail::Carrier carrier;
    std::forward<F>(call)();
    carrier.RethrowCarried();
}

// Runs one user command; an error that escapes it, or that a handler it ran through Qt met, is
// reported as above, named after where. False when it failed.
bool RunGuarded(const QString& where, const std::function<void()>& command);

// A handler given to connect() goes through the guard:
//
//   connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm13RMAs::cmdAdd_Click));
//   connect(mSize, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& t) { ... }));
template <class F> class GuardedHandler {
public:
    explicit GuardedHandler(F handler) : mHandler(std::move(handler)) {}

    template <class... A>
        requires std::invocable<F&, A...>
    void operator()(A&&... args)
    {
        RunHandler([&] { std::invoke(mHandler, std::forward<A>(args)...); });
    }

private:
    F mHandler;
};

template <class F> auto Guarded(F&& handler)
{
    return GuardedHandler<std::decay_t<F>>(std::forward<F>(handler));
}

template <class Receiver, class C, class R, class... A> auto Guarded(Receiver* receiver, R (C::*slot)(A...))
{
    static_assert(std::is_base_of_v<C, Receiver>, "the slot is a member of the receiver");
    return GuardedHandler([receiver, slot](A... args) { (receiver->*slot)(std::forward<A>(args)...); });
}

template <class Receiver, class C, class R, class... A> auto Guarded(Receiver* receiver, R (C::*slot)(A...) const)
{
    static_assert(std::is_base_of_v<C, Receiver>, "the slot is a member of the receiver");
    return GuardedHandler([receiver, slot](A... args) { (receiver->*slot)(std::forward<A>(args)...); });
}

} // namespace ui
