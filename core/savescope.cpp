#include "core/savescope.h"

#include "core/u11datafile.h"
#include "platform/dao/rowsave.h"

namespace core {

void SaveAllOrNothing(const std::function<void()>& save)
{
    dao::Database* db = gDatabase();
    if (!db) {
        save();
        return;
    }
    dao::SaveScope scope(*db);
    save();
    scope.commit();
}

} // namespace core
