// Puts a SQLite database (a GeoPackage) in write-ahead-log mode, as a program that writes
// it would, for tests of reading such a database. In a process of its own, since a test
// process that has read a layer lets SQLite write no file.
//
//     write_logged_database DATABASE [STATEMENTS]
//
// Without STATEMENTS the database is switched to the log and closed cleanly: no log is
// left beside it. With STATEMENTS they are run after the switch and left in the log: the
// log and its shared-memory index stay beside the database, as a writer that has not yet
// copied its log into the database leaves them. The database's triggers are dropped
// first, since those of a GeoPackage call functions that only GDAL defines.
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool run(sqlite3* database, const std::string& statements) {
    char* error = nullptr;
    if (sqlite3_exec(database, statements.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return true;
    std::fprintf(stderr, "write_logged_database: %s: %s\n", statements.c_str(), error != nullptr ? error : "");
    sqlite3_free(error);
    return false;
}

std::vector<std::string> triggers(sqlite3* database) {
    std::vector<std::string> names;
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(database, "SELECT name FROM sqlite_master WHERE type = 'trigger'", -1, &query, nullptr) ==
        SQLITE_OK)
        while (sqlite3_step(query) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: write_logged_database DATABASE [STATEMENTS]\n");
        return 2;
    }
    sqlite3* database = nullptr;
    if (sqlite3_open(argv[1], &database) != SQLITE_OK) {
        std::fprintf(stderr, "write_logged_database: cannot open %s\n", argv[1]);
        return 1;
    }
    bool done = run(database, "PRAGMA journal_mode=WAL");
    if (done && argc == 3) {
        int off = 0;
        sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, &off);
        done = run(database, "PRAGMA wal_autocheckpoint=0");
        for (const std::string& trigger : triggers(database)) done = done && run(database, "DROP TRIGGER \"" + trigger + "\"");
        done = done && run(database, argv[2]);
    }
    sqlite3_close(database);
    return done ? 0 : 1;
}
