#pragma once

#include <QString>

#include <functional>

// The model operations the shell calls when it loads a file or leaves a worksheet. They are
// held as functions so that the shell's navigation can be checked without a model behind it.
namespace shell {

struct ModelOps {
    std::function<void()> ClearItems;
    std::function<void()> ClearFMUs;
    std::function<void()> ClearNVCResources;
    std::function<void()> ClearThreatenedItems;
    std::function<void()> ClearSRTypes;
    std::function<void()> ClearSafetyIssues;
    std::function<void()> ClearObjectives;
    std::function<void()> ClearAlternatives;
    std::function<void()> ResetSRUseKey;
    std::function<void()> SaveRMAs;
    std::function<void()> SaveSituation;
    std::function<void()> SaveSummary;
    std::function<void()> SaveAlternatives;
    std::function<int()> FMUCount;
    std::function<QString()> FireName;     // body of General Information item 11
};

// The operations in use; starts with the model's own.
ModelOps& Model();
ModelOps RealModelOps();

// Drops every model cache, in the fixed order, so that the next use reads the open file afresh.
void ClearCollections();

} // namespace shell
