// libFuzzer entry: any bytes saved as a Prep file must be refused with a message or open;
// whatever an opened file offers must show in the Import Data worksheet's lists, and importing
// all of it into a new analysis must either be done whole or refused with a message, leaving
// the analysis as it was.
#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "model/g33fmus.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "model/prepfile.h"
#include "model/prepimport.h"
#include "support/fuzzsupport.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/wrappedlist.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QListWidget>

#include <cstdint>
#include <cstdlib>

using model::PrepFile;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ClearCaches()
{
    model::ClearFMUs();
    model::ClearSRTypes();
    model::ClearAlternatives();
    core::ClearItems();
}

// The two lists of the worksheet: the Prep file's areas (broken into lines) and units, and the
// analysis's own lists after the import; each laid out and painted as on screen.
struct Lists {
    QListWidget areas, units, rmaList, fmuList;
    worksheets::ItemList rmas{&rmaList}, fmus{&fmuList};
    Lists()
    {
        worksheets::WrapLongEntries(&areas);
        worksheets::WrapLongEntries(&rmaList);
        for (QListWidget* list : {&areas, &units, &rmaList, &fmuList})
            list->resize(240, 200);
    }
    static void paint(QListWidget& list)
    {
        static QImage image(240, 200, QImage::Format_ARGB32_Premultiplied);
        list.render(&image);
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::StartApplication<QApplication>("prepfile_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Lists* lists = new Lists;
    const QString path = fuzzsupport::WriteInput(QStringLiteral("input.fcd"), data, size);
    fuzzsupport::AgreeingPrompter prompter;
    std::unique_ptr<PrepFile> prep = PrepFile::Open(path);
    if (!prep) {
        if (prompter.asked() == 0)
            std::abort();   // refused without a word
        if (!fuzzsupport::InputIs(path, data, size))
            std::abort();   // refused, but changed on the way
        return 0;
    }
    QList<int> areaKeys;
    lists->areas.clear();
    for (const auto& area : prep->Areas()) {
        if (prep->FindArea(area.Key) == nullptr)
            std::abort();
        areaKeys.append(area.Key);
        lists->areas.addItem(area.ManagementArea);
    }
    QList<qint64> unitCodes;
    lists->units.clear();
    for (const auto& entry : prep->FMUEntries()) {
        const qint64 zone = model::FMUCodeZone(entry.Code);
        const int number = model::FMUCodeNumber(entry.Code);
        if (model::FMUCode(zone, number) != entry.Code)
            std::abort();
        if (!prep->FindZone(zone))
            std::abort();   // an offered unit whose zone cannot be found
        unitCodes.append(entry.Code);
        lists->units.addItem(entry.Text);
    }
    Lists::paint(lists->areas);
    Lists::paint(lists->units);

    // A new analysis each time, made from the template beside the program.
    const QString analysis = fuzzsupport::FuzzPath(QStringLiteral("analysis.tlm"));
    QFile::remove(analysis);
    if (!QFile::copy(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), analysis) ||
        !QFile::setPermissions(analysis, QFile::ReadOwner | QFile::WriteOwner) || !core::OpenDatafile(analysis))
        std::abort();
    ClearCaches();
    const int asked = prompter.asked();
    const QByteArray before = Bytes(analysis);
    if (model::ImportFromPrep(*prep, areaKeys, unitCodes)) {
        worksheets::FillRMAList(lists->rmas);
        worksheets::FillFMUList(lists->fmus);
        Lists::paint(lists->rmaList);
        Lists::paint(lists->fmuList);
    } else {
        if (prompter.asked() == asked)
            std::abort();   // refused without a word
        if (Bytes(analysis) != before)
            std::abort();   // refused, but part of it written
    }
    ClearCaches();
    core::CloseDatafile();
    prep->Close();
    return 0;
}
