#include "platform/ui/guard.h"

#include "platform/ui/prompter.h"

#include <exception>

namespace ui {

namespace {
std::function<void(const QString&)> gLog;
bool gShowing = false;
thread_local guard_detail::Carrier* gCarrier = nullptr;

class ShowingScope {
public:
    ShowingScope() { gShowing = true; }
    ~ShowingScope() { gShowing = false; }
    ShowingScope(const ShowingScope&) = delete;
    ShowingScope& operator=(const ShowingScope&) = delete;
};
} // namespace

QString CurrentExceptionText()
{
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

namespace {

void Log(const QString& line)
{
    if (!gLog)
        return;
    try {
        gLog(line);
    } catch (...) {
        // the message still tells the user
    }
}

// An error that comes second, after the one that will be shown: only logged.
void LogOnly(const std::exception_ptr& error) noexcept
{
    try {
        std::rethrow_exception(error);
    } catch (...) {
        try {
            Log(QStringLiteral("Event handler, after an earlier error: ") + CurrentExceptionText());
        } catch (...) {
        }
    }
}

} // namespace

void SetErrorLog(std::function<void(const QString&)> log) { gLog = std::move(log); }

void ReportCurrentException(const QString& where, const QString& logAs)
{
    const QString error = CurrentExceptionText();
    Log((logAs.isEmpty() ? where : logAs) + QStringLiteral(": ") + error);
    if (gShowing)
        return;
    ShowingScope showing;
    const QString first = where.isEmpty() ? QStringLiteral("An error occurred.")
                                          : QStringLiteral("An error occurred in ") + where + QStringLiteral(".");
    try {
        MsgBox(Lines({first, error}), Buttons::OK, Icon::Critical);
    } catch (...) {
        // nothing more can be said; the error is in the log
    }
}

namespace guard_detail {

Carrier::Carrier() noexcept : mOuter(gCarrier) { gCarrier = this; }

Carrier::~Carrier()
{
    gCarrier = mOuter;
    // Our code failed on its own after a handler had: its own error goes on, the handler's
    // is logged.
    if (mError)
        LogOnly(mError);
}

void Carrier::RethrowCarried()
{
    if (mError)
        std::rethrow_exception(std::exchange(mError, nullptr));
}

EventBoundary::EventBoundary() noexcept : mOuter(gCarrier) { gCarrier = nullptr; }
EventBoundary::~EventBoundary() { gCarrier = mOuter; }

void HandlerFailed(std::exception_ptr error) noexcept
{
    if (gCarrier) {
        // The first error is the one the code waiting for it answers; what failed after it in
        // the same call is its consequence.
        if (gCarrier->mError)
            LogOnly(error);
        else
            gCarrier->mError = std::move(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (...) {
        ReportCurrentException(QString(), QStringLiteral("Event handler"));
    }
}

} // namespace guard_detail

bool RunGuarded(const QString& where, const std::function<void()>& command)
{
    try {
        CallThroughQt(command);
        return true;
    } catch (...) {
        ReportCurrentException(where);
        return false;
    }
}

} // namespace ui
