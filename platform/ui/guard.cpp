#include "platform/ui/guard.h"

#include "platform/ui/prompter.h"

#include <exception>

namespace ui {

namespace {
std::function<void(const QString&)> gLog;
bool gShowing = false;

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

void SetErrorLog(std::function<void(const QString&)> log) { gLog = std::move(log); }

void ReportCurrentException(const QString& where, const QString& logAs)
{
    const QString error = CurrentExceptionText();
    if (gLog) {
        try {
            gLog((logAs.isEmpty() ? where : logAs) + QStringLiteral(": ") + error);
        } catch (...) {
            // the message below still tells the user
        }
    }
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

bool RunGuarded(const QString& where, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (...) {
        ReportCurrentException(where);
        return false;
    }
}

} // namespace ui
