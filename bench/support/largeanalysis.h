#pragma once

// The large analysis written to a data file for a benchmark that opens it as the program does.

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/richtext/emptybody.h"
#include "support/analysis_builder.h"

#include <cstdio>

namespace benchsupport {

// Twenty resource management areas, each with a page of objectives.
inline void AddRMAs()
{
    QString paragraphs;
    for (int p = 0; p < 12; ++p)
        paragraphs += QStringLiteral("Keep fire out of the riparian zone and the seed orchard; allow it where it "
                                     "reduces fuels without harm to the watershed.\\par ");
    const QString body = QString(richtext::kEmptyBody).replace(QStringLiteral("\\pard \\par }"),
                                                               QStringLiteral("\\pard ") + paragraphs + "}");
    for (int i = 1; i <= 20; ++i)
        core::NewRMA(QStringLiteral("Management Area %1").arg(i), body);
    core::SaveRMAs();
}

// The large analysis with the given number of alternatives and its situation, and the areas when
// asked for; false, with the reason on stderr, when it could not be written.
inline bool BuildLargeAnalysis(const QString& path, int alternatives, bool withAreas)
{
    testsupport::AnalysisSize size = testsupport::kLargeAnalysis;
    size.alternatives = alternatives;
    QString error;
    if (!testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), path, size,
                                         &error) ||
        !core::OpenDatafile(path)) {
        std::fprintf(stderr, "cannot build the analysis: %s\n", qPrintable(error));
        return false;
    }
    if (withAreas)
        AddRMAs();
    testsupport::BuildSituation();
    core::ClearItems();
    core::CloseDatafile();
    testsupport::ClearModelCaches();
    return true;
}

} // namespace benchsupport
