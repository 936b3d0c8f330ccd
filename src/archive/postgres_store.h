#pragma once
#include <vector>

#include "archive/archive.h"
#include "archive/pg_connection.h"

namespace morvek {

// Stores a batch in one transaction: each document with its register (added when new), its lines
// and its search words, or counted as held when the archive has its register and DI. Two
// collectors storing the same documents at once store each one once; a batch that loses a
// deadlock to another is run again.
StoreReport StorePostgresDocuments(PgConnection& connection,
                                   const std::vector<DocumentRecord>& documents, Arrival how);

}  // namespace morvek
