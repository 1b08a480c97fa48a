// libFuzzer entry: any bytes saved as a Prep file must be refused with a message or open, and
// whatever an opened file offers for import must be readable.
#include "support/fuzzsupport.h"
#include "worksheets/setup_situation/prepfile.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

using worksheets::setup_situation::PrepFile;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::StartApplication<QCoreApplication>("prepfile_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::WriteInput(QStringLiteral("input.fcd"), data, size);
    fuzzsupport::AgreeingPrompter prompter;
    std::unique_ptr<PrepFile> prep = PrepFile::Open(path);
    if (!prep) {
        if (prompter.asked() == 0)
            std::abort();   // refused without a word
        return 0;
    }
    // What the import worksheet shows and brings in.
    qint64 sum = prep->Areas().size() + prep->MasterList().size() + prep->SRDataSource().size();
    for (const auto& entry : prep->FMUEntries()) {
        const qint64 zone = worksheets::setup_situation::FMUCodeZone(entry.Code);
        const int number = worksheets::setup_situation::FMUCodeNumber(entry.Code);
        if (worksheets::setup_situation::FMUCode(zone, number) != entry.Code)
            std::abort();
        if (!prep->FindZone(zone))
            std::abort();   // an offered unit whose zone cannot be found
        for (const auto& row : prep->CostRows(zone))
            sum += qint64(row.TopSize > 0);
        for (const auto& row : prep->NVCRows(zone))
            sum += qint64(row[0] > 0);
    }
    for (const auto& area : prep->Areas())
        sum += prep->FindArea(area.Key) != nullptr;
    prep->Close();
    return sum < 0;
}
