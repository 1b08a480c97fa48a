#include "core/g2situation.h"

namespace core {

QList<c0Item*> GetSituationTopics() { return GetChildItems(kSituationGroupKey); }

c0Item* GetSituationItem(int key) { return GetItem(key); }

void SaveSituation() { SaveAllItems(); }

int NewSituationTopic(const QString& name) { return NewItem(name, kSituationGroupKey); }

} // namespace core
