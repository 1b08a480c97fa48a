// Builds a database from SQL scripts, run in the order given: mktemplate <script.sql>... <output file>.
// The output is written beside its final name and renamed into place, so a failed build never
// leaves a half-made template where the program looks for it.
//
// mktemplate --tables <schema.sql> <output file> writes instead the tables and columns the script
// makes, one C++ initializer a table with its columns and its primary key ({"Items", "ItemKey
// ItemName ...", "ItemKey"},), for the open routine's check that a file has every part of the
// current format.
//
// mktemplate --schema <schema.sql> <output file> writes the schema the script makes as the file
// lists it, one C++ initializer an entry ({"table", "Items", "Items", "CREATE TABLE ..."},), by
// which the open routine knows a file of the program's own making.
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool ReadScript(const char* path, std::stringstream& script)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "mktemplate: cannot read " << path << "\n";
        return false;
    }
    script << in.rdbuf() << "\n";
    return true;
}

std::vector<std::string> Strings(sqlite3* db, const std::string& sql, int column)
{
    std::vector<std::string> out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW)
            out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, column)));
    sqlite3_finalize(st);
    return out;
}

// The database the schema script makes, in memory; null (and said why) when the script fails.
sqlite3* MadeInMemory(const char* schemaPath)
{
    std::stringstream script;
    if (!ReadScript(schemaPath, script))
        return nullptr;
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK || sqlite3_exec(db, script.str().c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::cerr << "mktemplate: " << schemaPath << ": " << (error ? error : "error") << "\n";
        sqlite3_free(error);
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

int WriteFile(const std::string& output, const std::string& text)
{
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file) {
        std::cerr << "mktemplate: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}

// A C++ string literal of the text.
std::string Literal(const unsigned char* text)
{
    if (!text)
        return "nullptr";
    std::string out = "\"";
    for (const unsigned char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\')
            out += '\\', out += char(*c);
        else if (*c == '\n')
            out += "\\n";
        else if (*c < 0x20 || *c >= 0x7f) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", unsigned(*c));
            out += octal;
        } else
            out += char(*c);
    }
    return out + "\"";
}

// The schema as the file lists it: one initializer an entry.
void ListSchema(sqlite3* db, std::ostream& out)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT type, name, tbl_name, sql FROM sqlite_master", -1, &st, nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW) {
            out << "{";
            for (int col = 0; col < 4; ++col)
                out << (col ? ", " : "") << Literal(sqlite3_column_text(st, col));
            out << "},\n";
        }
    sqlite3_finalize(st);
}

// Each table with its columns and the fields of its key.
void ListTables(sqlite3* db, std::ostream& out)
{
    for (const std::string& table :
         Strings(db, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name", 0)) {
        out << "{\"" << table << "\", \"";
        const char* separator = "";
        for (const std::string& column : Strings(db, "PRAGMA table_info(\"" + table + "\")", 1)) {
            out << separator << column;
            separator = " ";
        }
        out << "\", \"";
        separator = "";
        for (const std::string& column :
             Strings(db, "SELECT name FROM pragma_table_info('" + table + "') WHERE pk > 0 ORDER BY pk", 0)) {
            out << separator << column;
            separator = " ";
        }
        out << "\"},\n";
    }
}

// Writes what the schema script makes, as --tables or --schema lists it.
int WriteListing(const std::string& mode, const char* schemaPath, const std::string& output)
{
    sqlite3* db = MadeInMemory(schemaPath);
    if (!db)
        return 1;
    std::ostringstream out;
    out << "// Made by tolmar_mktemplate " << mode << " from data/schema.sql; do not edit.\n";
    if (mode == "--schema")
        ListSchema(db, out);
    else
        ListTables(db, out);
    sqlite3_close(db);
    return WriteFile(output, out.str());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && (std::strcmp(argv[1], "--tables") == 0 || std::strcmp(argv[1], "--schema") == 0))
        return WriteListing(argv[1], argv[2], argv[3]);
    if (argc < 3) {
        std::cerr << "usage: mktemplate <script.sql>... <output>\n       mktemplate --tables|--schema <schema.sql> <output>\n";
        return 2;
    }
    std::stringstream script;
    for (int i = 1; i < argc - 1; ++i)
        if (!ReadScript(argv[i], script))
            return 1;

    const std::string output = argv[argc - 1];
    const std::string temp = output + ".part";
    std::remove(temp.c_str());

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::cerr << "mktemplate: cannot create " << temp << ": " << sqlite3_errmsg(db) << "\n";
        sqlite3_close(db);
        return 1;
    }
    char* error = nullptr;
    int rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, &error);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, script.str().c_str(), nullptr, nullptr, &error);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "VACUUM;", nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::cerr << "mktemplate: " << output << ": " << (error ? error : "error") << "\n";
        sqlite3_free(error);
        sqlite3_close(db);
        std::remove(temp.c_str());
        return 1;
    }
    if (sqlite3_close(db) != SQLITE_OK || std::rename(temp.c_str(), output.c_str()) != 0) {
        std::cerr << "mktemplate: cannot write " << output << "\n";
        std::remove(temp.c_str());
        return 1;
    }
    return 0;
}
