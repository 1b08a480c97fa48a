#pragma once

#include "platform/printing/reportdocument.h"

#include <QStringList>

namespace testsupport {

// The output calls of a report document's last run, each with the layout it was made in, for as
// long as the record lives.
class CallRecord {
public:
    explicit CallRecord(printing::ReportDocument& doc) : mDoc(doc)
    {
        mDoc.SetCallObserver([this](const QString& call) {
            if (call == QLatin1String("StartDoc"))
                mCalls.clear();
            mCalls.append(call);
        });
    }
    ~CallRecord() { mDoc.SetCallObserver(nullptr); }
    CallRecord(const CallRecord&) = delete;
    CallRecord& operator=(const CallRecord&) = delete;

    const QStringList& calls() const { return mCalls; }

private:
    printing::ReportDocument& mDoc;
    QStringList mCalls;
};

}  // namespace testsupport
