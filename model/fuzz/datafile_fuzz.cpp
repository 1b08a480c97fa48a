// libFuzzer entry: any bytes saved as a data file must be refused with a message, and left as
// they were, or open, and an opened file must compute the whole comparison or fail with an
// error of the data engine, which the program shows. Anything else (a crash, another
// exception, a hang) is a finding.
#include "core/u11datafile.h"
#include "platform/dao/dao.h"
#include "support/analysis_builder.h"
#include "support/fuzzsupport.h"
#include "upgrade/upgrader.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::StartApplication<QCoreApplication>("datafile_fuzz");
    upgrade::Install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::WriteInput(QStringLiteral("input.tlm"), data, size);
    fuzzsupport::AgreeingPrompter prompter;
    testsupport::ClearModelCaches();
    if (!core::OpenDatafile(path)) {
        if (prompter.asked() == 0)
            std::abort();   // refused without a word
        if (core::gDatabase())
            std::abort();   // refused but left open
        if (!fuzzsupport::InputIs(path, data, size))
            std::abort();   // refused, but changed on the way
        return 0;
    }
    try {
        (void)testsupport::ComputeMatrix();
    } catch (const dao::Error&) {
    }
    testsupport::ClearModelCaches();
    core::CloseDatafile();
    return 0;
}
