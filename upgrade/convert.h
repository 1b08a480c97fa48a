#pragma once

// The conversions of older data files to the current format "06.01.01", one format step each.
// Each works in place on an open data file and its open Properties cursor (ordered by
// "PrimaryKey"), ends by writing its target format into "DataFormatID", opens no transaction
// of its own and throws on any failure: the caller's transaction then leaves the file as it was.
// The overloads without arguments work on the file that core is opening.

namespace dao {
class Database;
class Recordset;
}

namespace upgrade {

// "3.93.00" or "4.00.00" to "04.01.01".
void Convert4to41();
void Convert4to41(dao::Database& db, dao::Recordset& properties);

// "04.01.01" to "05.01.02".
void Convert41to5();
void Convert41to5(dao::Database& db, dao::Recordset& properties);

// "05.01.02" to "06.01.01".
void Convert5to6();
void Convert5to6(dao::Database& db, dao::Recordset& properties);

// The questions asked before a chain runs; true only when the user chooses OK.
bool QueryConvert41to5();
bool QueryConvert5to6();

} // namespace upgrade
