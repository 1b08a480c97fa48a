// Builds a database from SQL scripts, run in the order given: mktemplate <script.sql>... <output file>.
// The output is written beside its final name and renamed into place, so a failed build never
// leaves a half-made template where the program looks for it.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: mktemplate <script.sql>... <output>\n";
        return 2;
    }
    std::stringstream script;
    for (int i = 1; i < argc - 1; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << "mktemplate: cannot read " << argv[i] << "\n";
            return 1;
        }
        script << in.rdbuf() << "\n";
    }

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
