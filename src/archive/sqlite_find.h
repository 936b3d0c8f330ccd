#pragma once
// The search of the SQLite archive: every condition of the query a fixed piece of SQL with its
// values bound, the pieces joined with AND.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "archive/archive.h"
#include "archive/sqlite_statement.h"

namespace morvek {

// The query's conditions on documents d, as " WHERE ... AND ..." (empty for none) and the values
// of its parameters in order.
struct SqliteConditions {
  using Value = std::variant<long long, std::string>;
  std::string sql;
  std::vector<Value> values;

  void Add(std::string_view condition, std::vector<Value> conditionValues);
  // Binds the values from parameter `first` on; gives the next parameter's index.
  int BindTo(SqliteStatement& statement, int first = 1) const;
};

// The conditions of a search; textIndexJoined: the text index's documents t lead the statement,
// otherwise a text is looked up in the index for each document read; inTimeOrder: the period on
// the expression the time indexes hold.
SqliteConditions SqliteConditionsOf(const FindQuery& query, std::optional<long long> registerId,
                                    bool textIndexJoined, bool inTimeOrder);

// registerId: the register the query's key named; none for every register.
std::vector<FoundDocument> FindInSqlite(SqliteConnection& connection, const FindQuery& query,
                                        std::optional<long long> registerId);

}  // namespace morvek
