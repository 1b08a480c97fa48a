#pragma once

// Situation topics (children of item 22) and the fixed single items read by key.

#include "core/g0items.h"

namespace core {

QList<c0Item*> GetSituationTopics();
c0Item* GetSituationItem(int key);
void SaveSituation();
int NewSituationTopic(const QString& name);

} // namespace core
