// The schema's numbered migrations, embedded from sql/<dialect>/NNN_name.sql
// at build time (embed_migrations.cmake).
#pragma once

#include <vector>

namespace vessor::archive {

struct Migration {
    const char* dialect; // "sqlite" or "postgresql"
    int version;         // NNN
    const char* name;    // the file's name without ".sql"
    const char* sql;     // several statements
};

// Every migration of both dialects, each dialect's in version order.
const std::vector<Migration>& migrations();

} // namespace vessor::archive
