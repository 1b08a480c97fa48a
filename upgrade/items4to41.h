#pragma once

// The Items steps of the conversion to "04.01.01": the new Items table, its groups, the old
// general-information properties and topics, and the old alternatives and lists.

namespace dao {
class Database;
class Recordset;
}

namespace upgrade::detail {

void CreateItemsTable(dao::Database& db);
void AddGroups(dao::Recordset& items);
void CopyPropertiesToItemsTable(dao::Recordset& properties, dao::Recordset& items);
void CopyTolmarTopicsToItemsTable(dao::Database& db, dao::Recordset& items);
void CopyAlternativesToItemsTable(dao::Database& db, dao::Recordset& properties, dao::Recordset& items);
void CopyManagementGoalsAndListsToItems(dao::Database& db, dao::Recordset& items);

} // namespace upgrade::detail
