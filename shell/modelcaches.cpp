#include "shell/modelcaches.h"

#include "core/c0item.h"
#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/g2situation.h"
#include "core/g8summary.h"
#include "core/u11datafile.h"
#include "core/u91trace.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/g36threateneditems.h"
#include "model/g38srtypes.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g68sruses.h"

namespace shell {

ModelOps RealModelOps()
{
    ModelOps ops;
    ops.ClearItems = [] { core::ClearItems(); };
    ops.ClearFMUs = [] { model::ClearFMUs(); };
    ops.ClearNVCResources = [] { model::ClearNVCResources(); };
    ops.ClearThreatenedItems = [] { model::ClearThreatenedItems(); };
    ops.ClearSRTypes = [] { model::ClearSRTypes(); };
    ops.ClearSafetyIssues = [] { model::ClearSafetyIssues(); };
    ops.ClearObjectives = [] { model::ClearObjectives(); };
    ops.ClearAlternatives = [] { model::ClearAlternatives(); };
    ops.ResetSRUseKey = [] { model::ResetSRUseKey(); };
    ops.SaveRMAs = [] { core::SaveRMAs(); };
    ops.SaveSituation = [] { core::SaveSituation(); };
    ops.SaveSummary = [] { core::SaveSummary(); };
    ops.SaveAlternatives = [] { model::SaveAlternatives(); };
    ops.FMUCount = [] { return core::gFileOpen() ? model::FMUCount() : 0; };
    ops.FireName = []() -> QString {
        if (!core::gFileOpen())
            return {};
        const core::c0Item* item = core::GetSituationItem(11);
        return item ? item->Body() : QString();
    };
    return ops;
}

ModelOps& Model()
{
    static ModelOps ops = RealModelOps();
    return ops;
}

void ClearCollections()
{
    ModelOps& m = Model();
    m.ClearItems();
    m.ClearFMUs();
    m.ClearNVCResources();
    m.ClearThreatenedItems();
    m.ClearSRTypes();
    m.ClearSafetyIssues();
    m.ClearObjectives();
    m.ClearAlternatives();
    m.ResetSRUseKey();
}

} // namespace shell
